#pragma once

#include <QString>

namespace TestPaths {

inline QString sourceDir()
{
    return QString::fromUtf8(VLAKORYS_SOURCE_DIR);
}

inline QString examplesDir()
{
    return sourceDir() + QStringLiteral("/examples");
}

} // namespace TestPaths
