// The shared sort, a cache of the keys of a record source in its order (and of the values of
// the column it is sorted by), kept by each connection for the last few sources: sets of one
// source opened while their table is unchanged take it instead of sorting again. One serves only
// while its table's write version and the count of other programs' commits are as they were when
// it was read; all are dropped when a ninth source is sorted, and with the connection.
#include "storage/database.h"

std::shared_ptr<const Database::Ordine> Database::ordine(const QString &sql,
                                                         const QString &tabella) const
{
    const std::shared_ptr<const Ordine> o = ordini_.value(sql);
    return o && o->versione == versione(tabella) && o->altrui == cambiDaAltri_ ? o : nullptr;
}

void Database::ricordaOrdine(const QString &sql, std::shared_ptr<const Ordine> ordine)
{
    if (ordini_.size() >= 8)
        ordini_.clear();
    ordini_.insert(sql, std::move(ordine));
}
