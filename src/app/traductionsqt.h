#pragma once
// Qt's own texts (message-box buttons, file and print dialogs) in the
// user's language.

class QLocale;
class QTranslator;

// Installs Qt's translation ("qtbase") for the language, from Qt's
// translations folder. Null when there is none: Qt's texts stay English.
// The translator belongs to the application.
QTranslator* chargerTraductionsQt(const QLocale& langue);
