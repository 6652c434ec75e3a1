#!/usr/bin/env bash
# A whole evaluation as a user would do it: the built program under Xvfb with openbox, driven
# only by keystrokes (xdotool): import settings, import of a list LibreOffice Calc wrote, grades,
# classes with typed letters, report saved as RTF, record file, CSV export, "Beenden".
# On the way every window opens once from a fresh settings folder: its frame, title bar
# included, must lie on the screen and leave the main window's title and menu bar free, and F1
# must open its own help page, which Esc closes again.
# The record file and the CSV must equal the expected bytes; the RTF, read back by LibreOffice
# Writer, must hold the expected text.
# Arguments: the program, the folder with the expected files, the output folder.
# Exit 77 (skipped) when Xvfb, openbox, xdotool or xwininfo is missing.
#
# klausur.csv was written once by Calc from klausur.fods:
#   soffice --headless --convert-to 'csv:Text - txt - csv (StarCalc):59,34,1,1,,0,false' klausur.fods
# (semicolon, Windows-1252, text unquoted, as Calc's export dialog suggests for German data).
set -uo pipefail
export LC_ALL=C  # window names and files as bytes; the program gets its own locale

programm="$1"
daten="$2"
aus="$3"

# Skipped where a tool is missing, except in CI: there a missing install step must fail.
for werkzeug in Xvfb openbox xdotool xwininfo xprop; do
  command -v "$werkzeug" >/dev/null && continue
  echo "$werkzeug fehlt (scripts/install-deps)"
  [ -n "${CI:-}" ] && exit 1
  exit 77
done

rm -rf "$aus"
mkdir -p "$aus/home/.config" "$aus/arbeit" "$aus/laufzeit"
chmod 700 "$aus/laufzeit"
arbeit="$aus/arbeit"
cp "$daten/klausur.csv" "$arbeit/"

xvfb_pid="" wm_pid="" pid="" haupt=""
aufraeumen() {
  for p in "$pid" "$wm_pid" "$xvfb_pid"; do
    [ -n "$p" ] && kill "$p" 2>/dev/null && wait "$p" 2>/dev/null
  done
}
trap aufraeumen EXIT

# One picture of the screen and one of each visible window of the program (windows with their
# own visual come out black in the screen picture), as PNG where python3 is there.
bildschirmfoto() {
  command -v xwd >/dev/null || { echo "(kein Bildschirmfoto: xwd fehlt)"; return; }
  local n=0 w
  xwd -root -silent >"$aus/bildschirm.xwd" 2>/dev/null
  for w in $(xdotool search --onlyvisible --pid "$pid" 2>/dev/null); do
    n=$((n + 1))
    xwd -id "$w" -silent >"$aus/fenster$n.xwd" 2>/dev/null
  done
  command -v python3 >/dev/null || return
  for x in "$aus"/*.xwd; do
    python3 - "$x" "${x%.xwd}.png" <<'PY' && rm -f "$x"
import struct, sys, zlib
d = open(sys.argv[1], "rb").read()
h = struct.unpack(">25I", d[:100])
kopf, breite, hoehe, order, bpl, farben = h[0], h[4], h[5], h[7], h[12], h[19]
if h[2] != 2 or bpl < 4 * breite or (h[14], h[15], h[16]) != (0xFF0000, 0xFF00, 0xFF):
    sys.exit(1)  # not the 32-bit true colour Xvfb gives: keep the .xwd
r, g, b = (2, 1, 0) if order == 0 else (1, 2, 3)
start = kopf + farben * 12
roh = bytearray()
for y in range(hoehe):
    z = d[start + y * bpl: start + y * bpl + 4 * breite]
    zeile = bytearray(3 * breite)
    zeile[0::3], zeile[1::3], zeile[2::3] = z[r::4], z[g::4], z[b::4]
    roh += b"\0" + zeile
def block(art, inhalt):
    return struct.pack(">I", len(inhalt)) + art + inhalt + struct.pack(">I", zlib.crc32(art + inhalt))
open(sys.argv[2], "wb").write(b"\x89PNG\r\n\x1a\n"
    + block(b"IHDR", struct.pack(">IIBBBBB", breite, hoehe, 8, 2, 0, 0, 0))
    + block(b"IDAT", zlib.compress(bytes(roh), 6)) + block(b"IEND", b""))
PY
  done
}

sichtbare_fenster() {
  local w
  for w in $(xdotool search --onlyvisible --pid "$pid" 2>/dev/null); do
    printf '  %s „%s“\n' "$w" "$(xdotool getwindowname "$w" 2>/dev/null)"
  done
}

# Also from inside $(...): everything goes to stderr, the caller ends on the failed status.
fehler() {
  {
    echo "FEHLER: $*"
    if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
      echo "Sichtbare Fenster:"; sichtbare_fenster
      bildschirmfoto
    fi
    echo "Bildschirmfotos, Ausgabe des Programms (skalora.stderr) und geschriebene Dateien (arbeit/): $aus"
  } >&2
  exit 1
}

lebt() {
  kill -0 "$pid" 2>/dev/null && return
  wait "$pid"; local status=$?
  pid=""
  fehler "Skalora hat sich vorzeitig beendet (Status $status) – $1"
}

# A message box of the program ("Fehler", or the error report with the program's name) takes
# the focus: then the step went wrong, and the test stops at once instead of waiting out the
# time. (Menus carry the program's name too, but never the focus.)
meldung_da() {
  local w name
  w=$(xdotool getactivewindow 2>/dev/null) || return 1
  name=$(xdotool getwindowname "$w" 2>/dev/null)
  [ "$name" = Fehler ] || { [ "$name" = Skalora ] && [ -n "$haupt" ] && [ "$w" != "$haupt" ]; }
}

# The exact window name as xdotool's pattern; xdotool may match the Latin-1 WM_NAME, so letters
# beyond ASCII ("Öffnen") match as any characters.
namensmuster() { printf '^%s$' "$1" | sed 's/[^ -~]\+/.+/g'; }

# fenster NAME [SEKUNDEN [MELDUNG]]: waits until a window of that exact name is shown and has
# the keyboard focus; prints its id.
fenster() {
  local name="$1" frist=$((SECONDS + ${2:-10})) w="" muster
  muster=$(namensmuster "$name")
  while :; do
    lebt "beim Warten auf „$name“"
    meldung_da && fehler "Meldung des Programms statt „$name“"
    w=$(xdotool search --all --onlyvisible --pid "$pid" --name "$muster" 2>/dev/null | head -n1)
    [ -n "$w" ] && [ "$(xdotool getactivewindow 2>/dev/null)" = "$w" ] && break
    [ $SECONDS -ge $frist ] && fehler "${3:-Fenster „$name“ erscheint nicht}${w:+ (es hat den Fokus nicht)}"
    sleep 0.05
  done
  # The window manager has given the focus; the toolkit takes it over a moment later, and
  # keys sent before that go to the window that had it.
  sleep 0.3
  echo "$w"
}

# weg NAME [SEKUNDEN]: waits until no window of that name is shown.
weg() {
  local name="$1" frist=$((SECONDS + ${2:-10})) muster
  muster=$(namensmuster "$name")
  while xdotool search --all --onlyvisible --pid "$pid" --name "$muster" >/dev/null 2>&1; do
    lebt "beim Schließen von „$name“"
    meldung_da && fehler "Meldung des Programms beim Schließen von „$name“"
    [ $SECONDS -ge $frist ] && fehler "Fenster „$name“ schließt sich nicht"
    sleep 0.05
  done
}

schritt() { echo "[$SECONDS s] $1"; }
# eingestellt SEKTION SCHLUESSEL=WERT...: the dialog wrote these values into the settings file
# as it closed (the first place where a lost or misrouted key shows).
eingestellt() {
  local sektion="$1" paar ini werte
  shift
  ini=$(find "$HOME" -name skalora.ini 2>/dev/null | head -n1)
  [ -n "$ini" ] || fehler "keine Einstellungsdatei nach „$sektion“"
  werte=$(tr -d '\r' <"$ini" | awk -v s="[$sektion]" '$0 == s { drin = 1; next } /^\[/ { drin = 0 } drin')
  for paar in "$@"; do
    grep -qxF -- "$paar" <<<"$werte" || fehler "„$sektion“ hat nicht $paar gespeichert: $(echo $werte)"
  done
}

# rahmen FENSTER: "links oben rechts unten" of the window's frame in screen pixels.
rahmen() {
  local x y b h l r o u
  eval "$(xwininfo -id "$1" | awk '/Absolute upper-left X/ {print "x=" $4} /Absolute upper-left Y/ {print "y=" $4}
                                   /^ *Width:/ {print "b=" $2} /^ *Height:/ {print "h=" $2}')"
  read -r l r o u < <(xprop -id "$1" _NET_FRAME_EXTENTS | sed -n 's/.*= //; s/,//gp')
  echo "$((x - ${l:-0})) $((y - ${o:-0})) $((x + b - 1 + ${r:-0})) $((y + h - 1 + ${u:-0}))"
}

# im_bild ID NAME: the window's whole frame lies on the screen, and unless it is the main window
# it leaves the main window's title bar and menu bar free (the menu bar is some 20 pixels high).
im_bild() {
  local l o r u hl ho hr hu
  read -r l o r u < <(rahmen "$1")
  [ "$l" -ge 0 ] && [ "$o" -ge 0 ] && [ "$r" -lt "$schirm_breite" ] && [ "$u" -lt "$schirm_hoehe" ] \
    || fehler "„$2“ liegt nicht ganz auf dem Bildschirm (Rahmen $l,$o bis $r,$u)"
  [ "$1" = "$haupt" ] && return
  read -r hl ho hr hu < <(rahmen "$haupt")
  local menue_unten=$(( $(xwininfo -id "$haupt" | awk '/Absolute upper-left Y/ {print $4}') + 20 ))
  if [ "$l" -le "$hr" ] && [ "$r" -ge "$hl" ] && [ "$o" -le "$menue_unten" ] && [ "$u" -ge "$ho" ]; then
    fehler "„$2“ verdeckt Titel oder Menü des Hauptfensters (Rahmen $l,$o bis $r,$u)"
  fi
}

# hilfe_zu NAME SEITE: in the active window NAME, F1 opens the help page SEITE; Esc closes it
# and the window has the focus again.
hilfe_zu() {
  tasten F1
  fenster "Hilfe – $2" 5 "F1 in „$1“ öffnet die Hilfeseite „$2“ nicht" >/dev/null
  tasten Escape
  weg "Hilfe – $2"
  fenster "$1" >/dev/null
}

# geoeffnet NAME SEITE: the window NAME has opened on the screen and F1 gives its help page.
geoeffnet() {
  local w
  w=$(fenster "$1") || exit 1
  im_bild "$w" "$1"
  hilfe_zu "$1" "$2"
}

tasten() { xdotool key --delay 40 "$@"; }
tippe() { xdotool type --delay 8 -- "$1"; }

# menue TASTEN...: opens "&Datei" with Alt+D in the main window, waits for its menu to stand,
# then walks with the given keys (arrows to other menus and entries, Return or a mnemonic).
# xdotool is faster than any hand: a key that comes while the toolkit still moves the focus
# back to the main window is lost, so Alt+D is pressed again (after Escape) up to three times.
menue() {
  local vorher versuch frist
  for versuch in 1 2 3; do
    fenster Skalora >/dev/null
    vorher=$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | wc -l)
    tasten alt+d
    frist=$((SECONDS + 1))
    while [ "$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | wc -l)" -le "$vorher" ]; do
      lebt "beim Öffnen des Menüs"
      [ $SECONDS -ge $frist ] && break
      sleep 0.05
    done
    if [ "$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | wc -l)" -gt "$vorher" ]; then
      tasten "$@"
      return
    fi
    echo "  (Alt+D ging verloren, noch einmal)"
    tasten Escape
  done
  fehler "Alt+D öffnet das Menü „Datei“ nicht"
}

# datei DIALOGNAME PFAD: types the full path into the file name field of Qt's file dialog.
datei() {
  fenster "$1" >/dev/null
  tasten ctrl+a
  tippe "$2"
  tasten Return
  weg "$1"
}

# --- X server, window manager, program -------------------------------------------------------
exec 3>"$aus/anzeige"
schirm_breite=1280 schirm_hoehe=1024
Xvfb -displayfd 3 -screen 0 ${schirm_breite}x${schirm_hoehe}x24 -nolisten tcp >"$aus/xvfb.log" 2>&1 &
xvfb_pid=$!
exec 3>&-
# Waits up to 10 s until the file $2 is there and not empty while process $1 lives (its log $3).
bereit() {
  local frist=$((SECONDS + 10))
  until [ -s "$2" ]; do
    kill -0 "$1" 2>/dev/null || { cat "$3"; fehler "$4 startet nicht"; }
    [ $SECONDS -ge $frist ] && fehler "$4 wird nicht bereit"
    sleep 0.05
  done
}
bereit "$xvfb_pid" "$aus/anzeige" "$aus/xvfb.log" Xvfb
export DISPLAY=":$(head -n1 "$aus/anzeige")"

export HOME="$aus/home" XDG_CONFIG_HOME="$aus/home/.config" XDG_RUNTIME_DIR="$aus/laufzeit"
openbox --sm-disable --startup "sh -c 'echo ok > $aus/wm-bereit'" >"$aus/openbox.log" 2>&1 &
wm_pid=$!
bereit "$wm_pid" "$aus/wm-bereit" "$aus/openbox.log" openbox

# A German user: decimal comma in every number on screen and in the files.
LANG=de_DE.UTF-8 LC_ALL=de_DE.UTF-8 LANGUAGE= QT_QPA_PLATFORM=xcb "$programm" \
  >"$aus/skalora.stdout" 2>"$aus/skalora.stderr" &
pid=$!
haupt=$(fenster Skalora 20) || exit 1
im_bild "$haupt" Skalora
hilfe_zu Skalora Hauptfenster

# --- the evaluation ----------------------------------------------------------------------------
schritt "CSV Importeinstellungen"
# Extras > "CSV Importeinstellungen": separator ";", first name 1, last name 2, points 3.
menue Right Right Right Right Down Return
geoeffnet Importeinstellungen Einstellungen
tasten ctrl+a semicolon Tab 1 Tab 2 Tab 3 Return
weg Importeinstellungen
eingestellt Importeinstellungen "trenner=;" vornameI=1 nachnameI=2 punkteI=3 notenI=0 ueberspringen=1

schritt "Importieren (CSV)"
menue i
datei "Öffnen" "$arbeit/klausur.csv"

schritt "Notenvergabe"
# Auswertung > "Notenvergabe": 60 points give 1,0, 30 points pass with 4,0; rounding "kaufmännisch".
menue Right Right Return
geoeffnet "Noten vergeben" "Noten vergeben"
# "Hofstee…" stands last in the tab order, before the first field; its help opens in front of
# the modal dialog and Esc closes the help, not the dialog.
tasten shift+Tab space
geoeffnet Hofstee-Verfahren Hofstee-Verfahren
tasten Escape
weg Hofstee-Verfahren
fenster "Noten vergeben" >/dev/null
tasten Tab
# Tab order: vollepunkte, vollenote, bestandenpunkte, bestandennote, nichtbestandenpunkte,
# nichtbestandennote, OK, Abbrechen, Notenschlüssel, Runden.
tasten ctrl+a 6 0 Tab Tab ctrl+a 3 0 Tab Tab Tab Tab Tab Tab Tab
# Tab enters the "Runden:" group at its chosen item; Down chooses the next one.
tasten Down Return
weg "Noten vergeben"
eingestellt notenvergabeform vollepunkte=60 bestandenpunkte=30 nichtbestandenpunkte=0 notenschluessel=1 runden=2

schritt "Klasseneinteilung"
# Auswertung > "Klasseneinteilung": nine classes (1,0 ... 4,7); A stands in row 1 and F in the
# two failed rows already. Letters in column "ECTS Gruppe (A-F)": B at 2,3, C at 3,0, d (read
# as D) at 3,3, E at 3,7; Return leaves each cell, the last Return presses OK.
menue Right Right Down Return
geoeffnet Klassenauswertung Klassenauswertung
tasten ctrl+Home Right Right Right Right
tasten Down Down B Return Down Down C Return Down d Return Down E Return
tasten Return
weg Klassenauswertung

schritt "Report als RTF"
# Ansicht > "Report", saved with the save key of the report window; the name without extension
# gets ".rtf".
menue Right Right Right Return
geoeffnet Ergebnis Report
tasten ctrl+s
fenster "Speichern unter" 5 "Strg+S im Fenster „Ergebnis“ öffnet keinen Speicherdialog" >/dev/null
datei "Speichern unter" "$arbeit/bericht"
fenster Ergebnis >/dev/null
tasten alt+F4  # the window manager's close key
weg Ergebnis

# Datei > "Speichern" as ergebnis(.noten), Datei > "Exportieren (CSV)" as ergebnis(.csv).
schritt "Speichern"
menue Down Return
datei "Speichern unter" "$arbeit/ergebnis"
schritt "Exportieren (CSV)"
menue Down Down Down Down Return
datei "Speichern unter" "$arbeit/ergebnis"

# The windows the evaluation did not need; none changes the list any more.
schritt "Histogramm, Einstellungen, Grenzfälle, Info"
menue Right Right Right Down Return
geoeffnet Histogramm Hauptfenster
tasten Escape
weg Histogramm
menue Right Right Right Right Return
geoeffnet Einstellungen Einstellungen
tasten Escape
weg Einstellungen
menue Right Right Down Down Down Return
geoeffnet Grenzfälle Grenzfälle
tasten Escape
weg Grenzfälle
menue Left Down Return
geoeffnet "Info über Skalora" Info
tasten alt+F4
weg "Info über Skalora"

schritt "Beenden"
menue b
frist=$((SECONDS + 10))
while kill -0 "$pid" 2>/dev/null; do
  [ $SECONDS -ge $frist ] && fehler "„Beenden“ beendet das Programm nicht"
  sleep 0.05
done
wait "$pid"; status=$?
pid=""
[ "$status" -eq 0 ] || fehler "Skalora endet mit Status $status"

# --- the files ---------------------------------------------------------------------------------
falsch=0
for f in ergebnis.noten ergebnis.csv; do
  if [ ! -f "$arbeit/$f" ]; then
    echo "FEHLER: $f wurde nicht geschrieben"; falsch=1
  elif ! cmp -s "$daten/$f" "$arbeit/$f"; then
    echo "FEHLER: $f weicht ab (erwartet gegen geschrieben, Bytes hexadezimal):"
    diff <(od -An -tx1 -v -w16 "$daten/$f") <(od -An -tx1 -v -w16 "$arbeit/$f") | head -n 20
    falsch=1
  fi
done

if [ ! -f "$arbeit/bericht.rtf" ]; then
  echo "FEHLER: bericht.rtf wurde nicht geschrieben"; falsch=1
elif [ "$(head -c 6 "$arbeit/bericht.rtf")" != '{\rtf1' ]; then
  echo "FEHLER: bericht.rtf ist kein RTF"; falsch=1
else
  # Writer reads the report back; its plain text must be the expected one.
  if ! timeout 90 soffice -env:UserInstallation="file://$aus/lo" --headless --norestore \
       --convert-to 'txt:Text (encoded):UTF8' --outdir "$aus" "$arbeit/bericht.rtf" >"$aus/soffice.log" 2>&1 \
     || [ ! -f "$aus/bericht.txt" ]; then
    echo "FEHLER: LibreOffice liest bericht.rtf nicht:"; cat "$aus/soffice.log"; falsch=1
  else
    sed -i '1s/^\xEF\xBB\xBF//' "$aus/bericht.txt"
    if ! diff -u "$daten/bericht.txt" "$aus/bericht.txt"; then
      echo "FEHLER: der Text von bericht.rtf weicht ab (oben: erwartet gegen gelesen)"; falsch=1
    fi
  fi
  rm -rf "$aus/lo"
fi

if [ "$falsch" -ne 0 ]; then
  echo "Geschriebene Dateien und Ausgabe des Programms: $aus"
  exit 1
fi
echo "Ende-zu-Ende-Lauf in Ordnung ($SECONDS s)"
