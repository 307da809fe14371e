#pragma once

#include <QStringList>

#include <cstdio>

// vlakorys-cli build SOUBOR.json VÝSTUP.vrs: a version 1.2 document written
// from its JSON form exactly as Save writes it; nothing is generated.
// VÝSTUP.vrs is replaced only when everything was written.
class BuildCommand
{
public:
    static constexpr const char *usage = "vlakorys-cli build SOUBOR.json VÝSTUP.vrs";

    int run(const QStringList &args, std::FILE *out, std::FILE *err) const;
};
