// Renders the program's SVG icon as PNGs for the hicolor theme: icone <svg> <folder> <size>...
// Writes <folder>/<N>x<N>/apps/<name>.png; uses only Qt's SVG image plugin, present at run time.
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <cstdio>

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    const QStringList argomenti = app.arguments();
    if (argomenti.size() < 4) {
        std::fprintf(stderr, "uso: icone <svg> <cartella> <lato>...\n");
        return 2;
    }
    const QString svg = argomenti.at(1);
    const QString nome = QFileInfo(svg).completeBaseName() + QStringLiteral(".png");
    for (qsizetype i = 3; i < argomenti.size(); ++i) {
        bool ok = false;
        const int lato = argomenti.at(i).toInt(&ok);
        if (!ok || lato <= 0) {
            std::fprintf(stderr, "lato non valido: %s\n", qPrintable(argomenti.at(i)));
            return 2;
        }
        QImageReader lettore(svg, "svg");
        lettore.setScaledSize(QSize(lato, lato));
        const QImage immagine = lettore.read();
        // No SVG plugin or a broken file must fail the build, not install blank icons.
        if (immagine.isNull()) {
            std::fprintf(stderr, "%s: %s\n", qPrintable(svg), qPrintable(lettore.errorString()));
            return 1;
        }
        const QString cartella = QStringLiteral("%1/%2x%2/apps").arg(argomenti.at(2)).arg(lato);
        if (!QDir().mkpath(cartella) || !immagine.save(cartella + QLatin1Char('/') + nome, "PNG")) {
            std::fprintf(stderr, "impossibile scrivere %s/%s\n", qPrintable(cartella),
                         qPrintable(nome));
            return 1;
        }
    }
    return 0;
}
