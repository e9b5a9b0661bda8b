// Runtime error reporting: the German message table, the error indicators and
// the per-level decision whether to show a box and whether to end the program.
#include "runtime/core/errors.h"

#include <string>

#include "runtime/core/error_box.h"

volatile std::int32_t ErrorKind = 0;
volatile std::int32_t LastErrorNumber = 0;
std::int32_t ErrorLevel = 1;

namespace {

struct ErrorEntry {
    std::int32_t number;
    const char *text;
};

// Code page 1252. Where a hex digit follows an escape the literal is split, so
// that the digit cannot extend the escape.
const ErrorEntry kErrorTable[] = {
    {101, "Unbekanntes Create-Objekt: "},
    {124, "STARTPAINT fehlt!"},
    {202, "Falscher Typ f\xFCr @DTOC$ !"},
    {203, "Falscher Typ f\xFCr @CTOD$ !"},
    {204, "String-Index ist < 1 !"},
    {205, "Substring-Nr ist < 1 !"},
    {206, "So viele Elemente sind nicht da!"},
    {208, "Kommandozeilenparameter fehlt!"},
    {209, "Datei nicht gefunden: "},
    {210, "Dateinummer nicht im erlaubten Bereich!"},
    {222, "Box nicht innerhalb des Fensters!"},
    {223, "Negative Fenstergr\xF6\xDF"
          "e!"},
    {224, "ICON nicht vorhanden: "},
    {225, "ICON nicht vorhanden! (Nur 0..4)"},
    {228, "Bitmap nicht ladbar: "},
    {229, "Bitmap konnte nicht gespeichert werden: "},
    {230, "Cursor nicht vorhanden! (Nur 0..11)"},
    {235, "Drucken ist nicht m\xF6glich!"},
    {237, "Der Befehl setzt ein Fenster vorraus!"},
    {244, "Der Text pa\xDFt nicht komplett in die Bereichsvariable!"},
    {247, "Fehler beim Laden der DLL: "},
    {248, "Funktion in DLL nicht vohanden: "},
    {252, "Men\xFC ist nicht ladbar: "},
    {269, "Kein freier CALLBACK mit der gew\xFCnschten Parameterzahl!"},
    {300, "Datei kann nicht gelesen werden: "},
    {301, "Datei kann nicht erzeugt werden: "},
    {303, "Fehler beim Schreiben: "},
    {305, "REGISTRY: "},
    {500, "ODBC ist nicht initialisiert!"},
    {503, "ODBC-Fehler"},
    {504, " S\xE4tze bearbeitet!"},
    {505, "Operation erfolgreich!"},
    {506, "Ergebnisdatei kann nicht ge\xF6"
          "ffnet werden!"},
    {600, "dB-Fehler: "},
    {601, "Datei nicht gefunden: "},
    {602, "Doppelter Feldname: "},
    {603, "Ung\xFCltige Feldl\xE4nge: "},
    {604, "Ung\xFCltige Dezimalstellen: "},
    {608, "Schl\xFCsselfeld nicht in Ordnung: "},
    {609, "Tabellennummer nicht im erlaubten Bereich!"},
    {611, "Formel nicht in Ordnung: "},
    {612, "Feld beim Lesen nicht gefunden: "},
    {613, "Feldnummer beim Lesen nicht gefunden: "},
    {614, "Feld zum Schreiben nicht gefunden: "},
    {615, "Feldnummer zum Schreiben nicht gefunden: "},
    {616, "Index-Dateiname fehlerhaft: "},
    {617, "Ung\xFCltige Eingabe: "},
};

// Text of every runtime error box; the message goes into the caption.
const char kBoxText[] = "Zeilennummer nicht verf\xFCgbar.";
const char kAbortCaption[] = "Programm abgebrochen!";

const char *LookUpErrorText(std::int32_t number) {
    for (const ErrorEntry &entry : kErrorTable)
        if (entry.number == number)
            return entry.text;
    return "";
}

std::string ErrorMessage(std::int32_t number, const char *detail) {
    std::string message = LookUpErrorText(number);
    if (detail)
        message += detail;
    return message;
}

void RecordReport(std::int32_t kind, std::int32_t number) {
    // The GUI thread may read the indicators, hence the atomic stores.
    __atomic_exchange_n(&ErrorKind, kind, __ATOMIC_SEQ_CST);
    __atomic_exchange_n(&LastErrorNumber, number, __ATOMIC_SEQ_CST);
}

[[noreturn]] void ShowErrorAndEnd(const char *caption) {
    ShowRuntimeErrorBox(kBoxText, caption, kErrorBoxStyle);
    EndAfterRuntimeError();
}

} // namespace

void RaiseFatal(std::int32_t number, const char *detail) {
    RecordReport(2, number);
    if (ErrorLevel == -1)
        return;
    ShowErrorAndEnd(ErrorMessage(number, detail).c_str());
}

void RaiseNonFatal(std::int32_t number, const char *detail) {
    RecordReport(1, number);
    if (ErrorLevel <= 0)
        return;
    std::string message = ErrorMessage(number, detail);
    if (ErrorLevel == 2)
        ShowErrorAndEnd(message.c_str());
    if (ShowRuntimeErrorBox(kBoxText, message.c_str(), kWarningBoxStyle) == kBoxAnswerCancel)
        ShowErrorAndEnd(kAbortCaption);
}

void ReportEscapedFault() {
    RecordReport(2, 0);
    ShowRuntimeErrorBox(kBoxText, kAbortCaption, kErrorBoxStyle);
}

StringValue ErrorText(std::int32_t number) {
    return StringValue(LookUpErrorText(number));
}

std::int32_t TakeErrorKind() {
    std::int32_t kind = ErrorKind;
    ErrorKind = 0;
    return kind;
}
