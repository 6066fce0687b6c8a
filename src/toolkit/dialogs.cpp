#include "dialogs.h"

#include <QCoreApplication>
#include <QHash>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <QtGlobal>

namespace {

Dialogs *installati = nullptr;

// The file dialog's names of kinds of entry, which Qt's Italian catalogue has only under the
// context Qt used before version 6.
class ParoleDelleCartelle : public QTranslator
{
public:
    bool isEmpty() const override { return false; }

    QString translate(const char *contesto, const char *testo, const char *, int) const override
    {
        if (qstrcmp(contesto, "QAbstractFileIconProvider") != 0)
            return QString();
        static const QHash<QByteArray, QString> parole = {
            {"Folder", QStringLiteral("Cartella")},
            {"Drive", QStringLiteral("Unità")},
            {"Shortcut", QStringLiteral("Collegamento")},
            {"Unknown", QStringLiteral("Sconosciuto")},
        };
        return parole.value(testo);
    }
};

} // namespace

Dialogs &Dialogs::instance()
{
    Q_ASSERT_X(installati, "Dialogs", "no Dialogs installed");
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
    static ParoleDelleCartelle parole;
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
