#pragma once

#include <QObject>
#include <QString>
#include <memory>

class QLocalServer;
class QLockFile;

// One copy of the program at a time works on a book, so two never write it unawares. The copy
// that holds a book keeps a lock file and listens on a local socket, both named after the user
// and the book (its full path, links resolved), in the temporary folder; another copy that finds
// the lock taken calls that one forward through the socket. A copy that ended without letting
// go (a crash) leaves a lock whose process is gone: the next copy takes it over.
// Owned by the main window, on its thread; it holds one book at a time, and none when the book's
// file is not there (nothing can be written to it).
class UnicoScrittore : public QObject
{
    Q_OBJECT

public:
    explicit UnicoScrittore(QObject *parent = nullptr);
    ~UnicoScrittore() override;

    // Holds libro for this copy and lets go of the book held before; false, holding the same
    // book as before, when another copy holds libro. A lock that cannot be written (a full or
    // read-only temporary folder) stops nobody.
    bool prendi(const QString &libro);
    // Asks the copy that holds libro to come forward.
    static void chiamaAvanti(const QString &libro);

signals:
    // Another copy asked for this one.
    void chiamata();

private:
    void lascia();

    QString nome_; // of the book held, as the lock and the socket are named; empty: none
    std::unique_ptr<QLockFile> blocco_;
    QLocalServer *server_ = nullptr;
};
