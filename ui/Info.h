// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The about box: title, version, the program file's date, the homepage, and the update check
// that fetches a newer archive from the server. Each box destroys itself when closed; a check
// that runs then is stopped first.

#include "Routinen.h"

#include <QDialog>
#include <functional>
#include <memory>

class Aktualisierer;
class QBuffer;
class QFileDialog;
class QLabel;
class QPushButton;
class QStatusBar;
class QTemporaryFile;
class QUrl;

class Tinfodialog : public QDialog {
    Q_OBJECT
public:
    // `sprache` is the user's language; any but German switches the box and the shared texts to English.
    explicit Tinfodialog(QWidget* eltern = nullptr, routinen::Sprache sprache = routinen::Benutzersprache());
    ~Tinfodialog() override;

    // From the click on "Neue Version" to its last message.
    bool prueftGerade() const { return m_pruefung; }

    QLabel *Versionlabel, *Datumlabel, *Copyrightlabel, *Homepagelabel;
    QPushButton *okbut, *getnewversion, *homepagebut, *emailbut;
    QStatusBar* Statusbar;
    Aktualisierer* Http;

    QString FVersionText;
    QString FArchivName;
    QString FHomepage;
    QString FMailAdresse;
    qint32 FDownloadGroesse = 0;
    // The server folder of the version file and the archive, ending with "/".
    QString FDownloadBasis;
    // The shell's "open" for addresses and files; false when nothing could open it.
    std::function<bool(const QUrl&)> oeffne;

    void Okbutclick();
    void Getnewversionclick();
    void Homepagebutclick();
    void Emailbutclick();

protected:
    void showEvent(QShowEvent* ereignis) override;
    void closeEvent(QCloseEvent* ereignis) override;
    void keyPressEvent(QKeyEvent* ereignis) override;

private:
    void FormCreate(routinen::Sprache sprache);
    void FormShow();
    void httpWork(qint64 bisher);
    void versionGeholt(bool erfolg);
    void archivGeholt(bool erfolg);
    void archivSpeichern(const QString& gewaehlt);
    void pruefungEnde();
    // Runs one step of the check; an error is reported and ends the check.
    void schritt(const std::function<void()>& befehl);
    // Shows a message; false when the box went away meanwhile.
    bool melde(const QString& text);
    // Shows `text`, then ends the check unless the box went away meanwhile.
    void endeMit(const QString& text);

    QBuffer* m_version = nullptr;
    std::unique_ptr<QTemporaryFile> m_archiv;
    QFileDialog* m_speichern = nullptr;
    double m_eigene = 0;
    double m_server = 0;
    bool m_pruefung = false;
};
