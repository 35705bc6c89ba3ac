#pragma once
#include <cstddef>
#include <string>

class RuvRouteTable;

// The route cache beside a level file: little-endian 32-bit fields, no header. A record count; per
// record its link index, a count of (int key, float value) pairs and the pairs, a lane count and per
// lane its key, a sample count and the samples as five fields (the extra field first, then normal
// x, normal y, x, y).

// The bytes of the table's records, in order.
std::string encodeRouteCache(const RuvRouteTable& table);
// Appends the records held in bytes to table. Every count is checked against the bytes left and
// every link index against linkCount; on the first fault the table is emptied and false returned,
// with the reason in error.
bool decodeRouteCache(const std::string& bytes, size_t linkCount, RuvRouteTable& table, std::string& error);
