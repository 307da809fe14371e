#pragma once

#include <stdexcept>
#include <string>

// The two kinds of failure that end a command with a plain message, as the
// editor shows them to the user: a value outside its table or range, and a
// text that is not a number or time. The messages are those users of the
// original program know.
class RangeError : public std::runtime_error
{
public:
    RangeError() : std::runtime_error("Range check error") {}
    explicit RangeError(const std::string &what) : std::runtime_error(what) {}
};

class ConversionError : public std::runtime_error
{
public:
    explicit ConversionError(const std::string &what) : std::runtime_error(what) {}
};
