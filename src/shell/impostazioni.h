#pragma once

#include <QString>
#include <optional>

// The settings file Ricette.ini: one line, the full path of the last recipe book, CRLF.
namespace Impostazioni {

QString file(const QString &cartella);
bool esiste(const QString &cartella);
// The path it names; nothing when the file is missing or unreadable.
std::optional<QString> leggi(const QString &cartella);
// Writes it anew; false when the folder cannot be written.
bool scrivi(const QString &cartella, const QString &percorso);

} // namespace Impostazioni
