// The German message table, byte for byte in code page 1252.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "runtime/core/errors.h"

namespace {

// Expected texts are written with named entities instead of byte escapes, so a
// wrong escape in the table cannot be copied into the expectation.
std::string Cp1252(const std::string &spelled) {
    static const struct {
        const char *name;
        char byte;
    } kEntities[] = {{"&auml;", '\xE4'}, {"&ouml;", '\xF6'}, {"&uuml;", '\xFC'}, {"&szlig;", '\xDF'}};
    std::string out;
    for (std::size_t i = 0; i < spelled.size();) {
        bool replaced = false;
        for (const auto &entity : kEntities) {
            std::size_t n = std::strlen(entity.name);
            if (spelled.compare(i, n, entity.name) == 0) {
                out += entity.byte;
                i += n;
                replaced = true;
                break;
            }
        }
        if (!replaced)
            out += spelled[i++];
    }
    return out;
}

std::string Bytes(const StringValue &s) {
    return std::string(s.data, s.length);
}

const struct {
    int number;
    const char *text;
} kExpected[] = {
    {101, "Unbekanntes Create-Objekt: "},
    {124, "STARTPAINT fehlt!"},
    {202, "Falscher Typ f&uuml;r @DTOC$ !"},
    {203, "Falscher Typ f&uuml;r @CTOD$ !"},
    {204, "String-Index ist < 1 !"},
    {205, "Substring-Nr ist < 1 !"},
    {206, "So viele Elemente sind nicht da!"},
    {208, "Kommandozeilenparameter fehlt!"},
    {209, "Datei nicht gefunden: "},
    {210, "Dateinummer nicht im erlaubten Bereich!"},
    {222, "Box nicht innerhalb des Fensters!"},
    {223, "Negative Fenstergr&ouml;&szlig;e!"},
    {224, "ICON nicht vorhanden: "},
    {225, "ICON nicht vorhanden! (Nur 0..4)"},
    {228, "Bitmap nicht ladbar: "},
    {229, "Bitmap konnte nicht gespeichert werden: "},
    {230, "Cursor nicht vorhanden! (Nur 0..11)"},
    {235, "Drucken ist nicht m&ouml;glich!"},
    {237, "Der Befehl setzt ein Fenster vorraus!"},
    {244, "Der Text pa&szlig;t nicht komplett in die Bereichsvariable!"},
    {247, "Fehler beim Laden der DLL: "},
    {248, "Funktion in DLL nicht vohanden: "},
    {252, "Men&uuml; ist nicht ladbar: "},
    {269, "Kein freier CALLBACK mit der gew&uuml;nschten Parameterzahl!"},
    {300, "Datei kann nicht gelesen werden: "},
    {301, "Datei kann nicht erzeugt werden: "},
    {303, "Fehler beim Schreiben: "},
    {305, "REGISTRY: "},
    {500, "ODBC ist nicht initialisiert!"},
    {503, "ODBC-Fehler"},
    {504, " S&auml;tze bearbeitet!"},
    {505, "Operation erfolgreich!"},
    {506, "Ergebnisdatei kann nicht ge&ouml;ffnet werden!"},
    {600, "dB-Fehler: "},
    {601, "Datei nicht gefunden: "},
    {602, "Doppelter Feldname: "},
    {603, "Ung&uuml;ltige Feldl&auml;nge: "},
    {604, "Ung&uuml;ltige Dezimalstellen: "},
    {608, "Schl&uuml;sselfeld nicht in Ordnung: "},
    {609, "Tabellennummer nicht im erlaubten Bereich!"},
    {611, "Formel nicht in Ordnung: "},
    {612, "Feld beim Lesen nicht gefunden: "},
    {613, "Feldnummer beim Lesen nicht gefunden: "},
    {614, "Feld zum Schreiben nicht gefunden: "},
    {615, "Feldnummer zum Schreiben nicht gefunden: "},
    {616, "Index-Dateiname fehlerhaft: "},
    {617, "Ung&uuml;ltige Eingabe: "},
};

TEST(ErrorText, EveryEntryMatchesByteForByte) {
    for (const auto &entry : kExpected)
        EXPECT_EQ(Bytes(ErrorText(entry.number)), Cp1252(entry.text)) << "message " << entry.number;
}

TEST(ErrorText, NumbersOutsideTheTableGiveTheEmptyText) {
    int numbered = 0;
    for (int number = -1000; number <= 2000; ++number) {
        StringValue text = ErrorText(number);
        ASSERT_NE(text.data, nullptr);
        EXPECT_EQ(text.data[text.length], '\0');
        if (text.length != 0)
            ++numbered;
    }
    // Exactly the table's numbers have a text: none missing, none extra.
    EXPECT_EQ(numbered, static_cast<int>(sizeof kExpected / sizeof kExpected[0]));
    EXPECT_EQ(ErrorText(INT32_MIN).length, 0u);
    EXPECT_EQ(ErrorText(INT32_MAX).length, 0u);
}

TEST(ErrorText, TakeErrorKindResetsTheIndicator) {
    ErrorKind = 2;
    EXPECT_EQ(TakeErrorKind(), 2);
    EXPECT_EQ(TakeErrorKind(), 0);
    EXPECT_EQ(ErrorKind, 0);
}

} // namespace
