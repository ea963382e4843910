// Builds one short catalogue text in a stack buffer and stores it with a single assignment,
// so filling thousands of table entries costs no temporary strings. Numbers are written with
// std::to_chars: the decimal point is always ".", whatever locale the application runs under.
#pragma once

#include <charconv>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

class TextBuilder {
public:
    TextBuilder& Add(char c)
    {
        if (Length < sizeof(Buffer)) Buffer[Length++] = c;
        return *this;
    }

    TextBuilder& Add(std::string_view text)
    {
        for (char c : text) Add(c);
        return *this;
    }

    TextBuilder& AddInt(int64_t value)
    {
        auto [end, ec] = std::to_chars(Buffer + Length, Buffer + sizeof(Buffer), value);
        if (ec == std::errc()) Length = static_cast<size_t>(end - Buffer);
        return *this;
    }

    // "+5", "+0", "-5": the form of values shown around a centre.
    TextBuilder& AddSigned(int64_t value)
    {
        if (value >= 0) Add('+');
        return AddInt(value);
    }

    // A count of units of 10^-decimals, e.g. (1234, 1) gives "123.4" and (13, 3) "0.013".
    TextBuilder& AddFixed(int64_t units, int decimals)
    {
        if (units < 0) {
            Add('-');
            units = -units;
        }
        int64_t scale = 1;
        for (int i = 0; i < decimals; ++i) scale *= 10;
        AddInt(units / scale);
        if (decimals > 0) {
            Add('.');
            int64_t fraction = units % scale;
            for (int64_t digit = scale / 10; digit > 0; digit /= 10) {
                Add(static_cast<char>('0' + fraction / digit));
                fraction %= digit;
            }
        }
        return *this;
    }

    void StoreIn(std::string& target) const { target.assign(Buffer, Length); }

private:
    char Buffer[32]{};
    size_t Length = 0;
};
