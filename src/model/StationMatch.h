#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <cstdint>
#include <vector>

class Document;

// The stations of two documents of one line told apart by name alone, the
// blanks at either end left out: the lines may have been entered, imported
// or renumbered separately, so neither positions nor indices say which
// station is which.
namespace StationMatch {

QByteArray key(QByteArrayView name);

// [i] for station i (1-based) of `other`: the station of that name in
// `current` (the first of them should the name stand twice), or 0 when
// `current` has none; [0] is unused.
std::vector<int32_t> of(const Document &current, const Document &other);

} // namespace StationMatch
