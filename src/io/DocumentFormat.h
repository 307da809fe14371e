#pragma once

#include <cstdint>

// Facts of the .vrs document file shared by its reader and writer.
namespace DocumentFormat {

// The header is a 14-byte length-prefixed text "Vlakorys M.m!"; its version
// number is M * 100 + m.
constexpr int headerSize = 14;
constexpr char currentHeader[] = "Vlakorys 1.2!";
constexpr char oldestHeader[] = "Vlakorys 0.1!";
constexpr int currentVersion = 102;
constexpr int oldestFullVersion = 2; // 0.2; 0.1 holds stations only

// Record capacities of the fixed-size texts.
constexpr int stationNameCapacity = 50;
constexpr int trainNameCapacity = 20;
constexpr int oldTrainNameCapacity = 10; // before 1.0
constexpr int labelTextCapacity = 15;
constexpr int profileNameCapacity = 20;
constexpr int fontNameCapacity = 255;

// Sizes of the fixed records of version 1.2.
constexpr int stationRecordSize = 55;
constexpr int kindRecordSize = 11;

// A rotated label image is a few hundred pixels at most; a larger size can
// only come from a damaged file.
constexpr int32_t maxLabelImageSide = 65535;

// The angle of labels in files older than 0.8, which kept none.
constexpr double defaultAscendingAngle = -0.7853981635;
constexpr double defaultDescendingAngle = 0.7853981635;

} // namespace DocumentFormat
