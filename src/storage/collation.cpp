#include "storage/collation.h"

#include <QChar>
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <sqlite3.h>

namespace Collazione {
namespace {

struct Peso
{
    char32_t primario;   // the plain letter in lower case
    char32_t secondario; // the letter with its accent, lower case
    bool maiuscola;
};

// Latin letters with accents: the plain letter comes from the canonical decomposition.
// Built once; the rest of Unicode only folds case.
constexpr char32_t LimiteTabella = 0x250;

const std::array<char32_t, LimiteTabella> &basi()
{
    static const std::array<char32_t, LimiteTabella> tabella = [] {
        std::array<char32_t, LimiteTabella> t{};
        for (char32_t c = 0; c < LimiteTabella; ++c) {
            char32_t base = QChar::toLower(c);
            const QString d = QChar(char16_t(c)).decomposition();
            if (!d.isEmpty() && QChar(char16_t(c)).decompositionTag() == QChar::Canonical)
                base = QChar::toLower(char32_t(d.at(0).unicode()));
            t[c] = base;
        }
        return t;
    }();
    return tabella;
}

Peso peso(char32_t c)
{
    if (c < 0x80) {
        const char32_t minuscola = (c >= 'A' && c <= 'Z') ? c + 32 : c;
        return {minuscola, minuscola, minuscola != c};
    }
    const char32_t minuscola = QChar::toLower(c);
    const char32_t base = c < LimiteTabella ? basi()[c] : minuscola;
    return {base, minuscola, minuscola != c};
}

// Decodes one UTF-8 character; malformed bytes count as themselves.
char32_t leggi(const unsigned char *&p, const unsigned char *fine)
{
    const unsigned char c = *p++;
    if (c < 0x80)
        return c;
    int seguiti = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
    char32_t v = c & (0x3F >> seguiti);
    while (seguiti-- > 0 && p < fine && (*p & 0xC0) == 0x80)
        v = (v << 6) | (*p++ & 0x3F);
    return v;
}

int segno(long long d)
{
    return d < 0 ? -1 : d > 0 ? 1 : 0;
}

int callback(void *, int na, const void *a, int nb, const void *b)
{
    return confronta(static_cast<const char *>(a), na, static_cast<const char *>(b), nb);
}

} // namespace

int confronta(const char *a, int na, const char *b, int nb, bool contaMaiuscole)
{
    auto pa = reinterpret_cast<const unsigned char *>(a);
    auto pb = reinterpret_cast<const unsigned char *>(b);
    const auto fa = pa + na;
    const auto fb = pb + nb;
    // Equal leading bytes weigh the same; sorting names that share a start spends most of its
    // time there. Back up to a character start so the first differing one is read whole.
    const int corta = std::min(na, nb);
    int comune = 0;
    for (std::uint64_t x, y; comune + 8 <= corta; comune += 8) { // eight bytes at a time
        std::memcpy(&x, pa + comune, 8);
        std::memcpy(&y, pb + comune, 8);
        if (x != y)
            break;
    }
    while (comune < corta && pa[comune] == pb[comune])
        ++comune;
    const auto seguito = [](const unsigned char *p, const unsigned char *fine) {
        return p < fine && (*p & 0xC0) == 0x80;
    };
    while (comune > 0 && (seguito(pa + comune, fa) || seguito(pb + comune, fb)))
        --comune;
    pa += comune;
    pb += comune;
    int accenti = 0;
    int maiuscole = 0;
    while (pa < fa && pb < fb) {
        const Peso x = peso(leggi(pa, fa));
        const Peso y = peso(leggi(pb, fb));
        if (x.primario != y.primario)
            return segno(static_cast<long long>(x.primario) - y.primario);
        if (!accenti && x.secondario != y.secondario)
            accenti = segno(static_cast<long long>(x.secondario) - y.secondario);
        if (!maiuscole && x.maiuscola != y.maiuscola)
            maiuscole = x.maiuscola ? 1 : -1;
    }
    if (pa < fa)
        return 1;
    if (pb < fb)
        return -1;
    return accenti ? accenti : contaMaiuscole ? maiuscole : 0;
}

int confronta(const QString &a, const QString &b, bool contaMaiuscole)
{
    const QByteArray x = a.toUtf8();
    const QByteArray y = b.toUtf8();
    return confronta(x.constData(), int(x.size()), y.constData(), int(y.size()), contaMaiuscole);
}

void registra(sqlite3 *db)
{
    sqlite3_create_collation_v2(db, Nome, SQLITE_UTF8, nullptr, callback, nullptr);
}

} // namespace Collazione
