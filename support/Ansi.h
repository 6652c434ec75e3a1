#pragma once
// Student names are single-byte text in Windows-1252, the code page of the record files
// made on German systems. These convert between that and QString.

#include <QByteArray>
#include <QString>

namespace ansi {
QString zuText(QByteArrayView bytes);
// Characters Windows-1252 cannot hold become "?" (one per character, surrogate pairs included).
QByteArray ausText(QStringView text);
} // namespace ansi
