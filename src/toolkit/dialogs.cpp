#include "toolkit/dialogs.h"

#include <QCoreApplication>
#include <QHash>
#include <QLibraryInfo>
#include <QLocale>
#include <QRegularExpression>
#include <QTranslator>
#include <QtGlobal>

namespace {

Dialogs *installati = nullptr;

// Words Qt's Italian catalogue lacks: the file dialog's kinds of entry (it has them only under
// the context Qt used before version 6) and the print dialog's newer choices and warnings. Page
// sizes named by their inches are named by their millimetres instead.
class ParoleMancanti : public QTranslator
{
public:
    explicit ParoleMancanti(const QTranslator &qt) : qt_(qt) {}

    bool isEmpty() const override { return false; }

    QString translate(const char *contesto, const char *testo, const char *chiarimento,
                      int n) const override
    {
        static const QHash<std::pair<QByteArray, QByteArray>, QString> parole = {
            {{"QAbstractFileIconProvider", "Folder"}, QStringLiteral("Cartella")},
            {{"QAbstractFileIconProvider", "Drive"}, QStringLiteral("Unità")},
            {{"QAbstractFileIconProvider", "Shortcut"}, QStringLiteral("Collegamento")},
            {{"QAbstractFileIconProvider", "Unknown"}, QStringLiteral("Sconosciuto")},
            {{"QPrintSettingsOutput", "Pages"}, QStringLiteral("Pagine")},
            {{"QPrintSettingsOutput",
              "Specify pages or ranges separated by commas. Ranges are specified by two numbers "
              "separated by a hyphen. E.g: 3,5-7,9 prints pages 3, 5, 6, 7 and 9."},
             QStringLiteral("Indicate pagine o intervalli separati da virgole; un intervallo è "
                            "dato da due numeri separati da un trattino. Ad esempio 3,5-7,9 "
                            "stampa le pagine 3, 5, 6, 7 e 9.")},
            {{"QPrintSettingsOutput", "Double Sided Printing"},
             QStringLiteral("Stampa fronte/retro")},
            {{"QPrintSettingsOutput", "Off"}, QStringLiteral("No")},
            {{"QPrintSettingsOutput", "Long side binding"},
             QStringLiteral("Rilegatura sul lato lungo")},
            {{"QPrintSettingsOutput", "Short side binding"},
             QStringLiteral("Rilegatura sul lato corto")},
            {{"QPrintPropertiesWidget", "Advanced"}, QStringLiteral("Avanzate")},
            {{"QPrintPropertiesWidget", "There are conflicts in some options. Please fix them."},
             QStringLiteral("Alcune opzioni sono in conflitto tra loro: correggetele.")},
            {{"QPrintPropertiesDialog", "Page Setup Conflicts"},
             QStringLiteral("Impostazioni della pagina in conflitto")},
            {{"QPrintPropertiesDialog",
              "There are conflicts in page setup options. Do you want to fix them?"},
             QStringLiteral("Alcune impostazioni della pagina sono in conflitto tra loro. "
                            "Volete correggerle?")},
            {{"QPrintPropertiesDialog", "Advanced Option Conflicts"},
             QStringLiteral("Opzioni avanzate in conflitto")},
            {{"QPrintPropertiesDialog",
              "There are conflicts in some advanced options. Do you want to fix them?"},
             QStringLiteral("Alcune opzioni avanzate sono in conflitto tra loro. Volete "
                            "correggerle?")},
            {{"QPrintDialog", "Invalid Pages Definition"},
             QStringLiteral("Pagine indicate non valide")},
            {{"QPrintDialog",
              "%1 does not follow the correct syntax. Please use ',' to separate ranges and "
              "pages, '-' to define ranges and make sure ranges do not intersect with each "
              "other."},
             QStringLiteral("%1 non è scritto correttamente. Separate pagine e intervalli con "
                            "',', indicate gli intervalli con '-' e fate in modo che non si "
                            "sovrappongano.")},
            {{"QPrintDialog", "Duplex Settings Conflicts"},
             QStringLiteral("Impostazioni fronte/retro in conflitto")},
            {{"QPrintDialog", "There are conflicts in duplex settings. Do you want to fix them?"},
             QStringLiteral("Le impostazioni fronte/retro sono in conflitto tra loro. Volete "
                            "correggerle?")},
        };
        const QString parola = parole.value({contesto, testo});
        if (!parola.isEmpty() || qstrcmp(contesto, "QPageSize") != 0)
            return parola;
        return inMillimetri(qt_.translate(contesto, testo, chiarimento, n));
    }

private:
    // "Esecutivo (7.5 x 10 pollici)" becomes "Esecutivo (191 x 254 mm)".
    static QString inMillimetri(QString nome)
    {
        static const QRegularExpression pollici(
            QStringLiteral("(\\d+(?:\\.\\d+)?) x (\\d+(?:\\.\\d+)?) pollici"));
        const QRegularExpressionMatch m = pollici.match(nome);
        if (!m.hasMatch())
            return QString();
        const auto mm = [&](int i) {
            return QString::number(qRound(m.captured(i).toDouble() * 25.4));
        };
        return nome.replace(m.capturedStart(), m.capturedLength(),
                            mm(1) + QStringLiteral(" x ") + mm(2) + QStringLiteral(" mm"));
    }

    const QTranslator &qt_;
};

} // namespace

Dialogs &Dialogs::instance()
{
    if (!installati)
        qFatal("Dialogs::instance(): no Dialogs installed");
    return *installati;
}

void Dialogs::install(Dialogs *d)
{
    installati = d;
}

void Dialogs::uninstall(Dialogs *d)
{
    if (installati == d)
        installati = nullptr;
}

QString Dialogs::titoloPredefinito()
{
    return QStringLiteral("Pentolone");
}

bool installaTraduzioneItaliana()
{
    static QTranslator traduzione;
    static ParoleMancanti parole(traduzione);
    if (!traduzione.load(QLocale(QLocale::Italian, QLocale::Italy), "qtbase", "_",
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    // Installed last, so asked first; it answers only for its own few words.
    return QCoreApplication::installTranslator(&traduzione) &&
           QCoreApplication::installTranslator(&parole);
}

QLocale localeDelProgramma(const QLocale &sistema)
{
    if (sistema.language() == QLocale::C)
        return QLocale(QLocale::Italian, QLocale::Italy);
    return sistema;
}

Dialogs::Risposta Dialogs::messageBox(const QString &testo, Pulsanti pulsanti,
                                      const QString &titolo, Icona icona, const QString &casella,
                                      bool &spuntata)
{
    Q_UNUSED(casella)
    spuntata = false;
    return messageBox(testo, pulsanti, titolo, icona);
}
