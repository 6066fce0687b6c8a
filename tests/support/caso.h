#pragma once

#include <QString>
#include <QTest>
#include <type_traits>

// One row of a data table on one line: the columns' types want QString for a literal and int
// for an enum, which a bare << would store as they are.
template <class... Valori> void caso(const char *nome, const Valori &...valori)
{
    const auto colonna = [](const auto &v) {
        using T = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<T, const char *> || std::is_same_v<T, char *>)
            return QString::fromUtf8(v);
        else if constexpr (std::is_enum_v<T>)
            return int(v);
        else
            return v;
    };
    (QTest::newRow(nome) << ... << colonna(valori));
}
