#include "NumberText.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <system_error>

namespace kartovex {
namespace {

// Significant digits (trailing zeros removed) and the decimal exponent of the first digit.
struct Decimal {
    bool negative = false;
    std::string digits;
    int exponent = 0;
};

template <typename Real>
Decimal decompose(Real x, int significant) {
    char buf[64];
    auto [end, ec] =
        std::to_chars(buf, buf + sizeof buf, x, std::chars_format::scientific, significant - 1);
    (void)ec;
    std::string s(buf, end);
    Decimal d;
    std::size_t i = 0;
    if (s[i] == '-') {
        d.negative = true;
        ++i;
    }
    const std::size_t e = s.find('e');
    for (; i < e; ++i) {
        if (s[i] != '.') d.digits += s[i];
    }
    std::from_chars(s.data() + e + (s[e + 1] == '+' ? 2 : 1), s.data() + s.size(), d.exponent);
    while (d.digits.size() > 1 && d.digits.back() == '0') d.digits.pop_back();
    return d;
}

// Fixed notation wherever the value can be a coordinate, a distance or a pixel count;
// only magnitudes far beyond those fall back to the exponent form (1.5E+20).
constexpr int kSmallestFixedExponent = -24;

std::string layout(const Decimal& d, int significant, bool exponentAllowed) {
    std::string out = d.negative ? "-" : "";
    const int n = static_cast<int>(d.digits.size());
    if (exponentAllowed && (d.exponent >= significant || d.exponent < kSmallestFixedExponent)) {
        out += d.digits[0];
        if (n > 1) out.append(1, '.').append(d.digits, 1);
        const int e = std::abs(d.exponent);
        out += d.exponent < 0 ? "E-" : "E+";
        if (e < 10) out += '0';
        return out + std::to_string(e);
    }
    if (d.exponent < 0) {
        return out + "0." + std::string(static_cast<std::size_t>(-d.exponent - 1), '0') + d.digits;
    }
    const int whole = d.exponent + 1;
    if (n <= whole) return out + d.digits + std::string(static_cast<std::size_t>(whole - n), '0');
    return out + d.digits.substr(0, whole) + "." + d.digits.substr(whole);
}

template <typename Real>
std::string generalText(Real x, int significant, bool exponentAllowed = true) {
    if (std::isnan(x)) return "NaN";
    if (std::isinf(x)) return x < 0 ? "-Infinity" : "Infinity";
    if (x == 0) return "0";
    return layout(decompose(x, significant), significant, exponentAllowed);
}

// Reads characters of a text, skipping the blanks, tabs and line feeds the rule ignores.
class Reader {
public:
    explicit Reader(std::string_view t) : t_(t) { skip(); }
    char peek() const { return pos_ < t_.size() ? t_[pos_] : '\0'; }
    void take() {
        ++pos_;
        skip();
    }

private:
    void skip() {
        while (pos_ < t_.size() && (t_[pos_] == ' ' || t_[pos_] == '\t' || t_[pos_] == '\n'))
            ++pos_;
    }
    std::string_view t_;
    std::size_t pos_ = 0;
};

int digitValue(char c, int base) {
    int v = -1;
    if (c >= '0' && c <= '9') v = c - '0';
    if (c >= 'a' && c <= 'f') v = c - 'a' + 10;
    if (c >= 'A' && c <= 'F') v = c - 'A' + 10;
    return v < base ? v : -1;
}

// &H and &O numbers behave as 16-bit integers while they fit 16 bits and as 32-bit ones
// while they fit 32, so &HFFFF is -1 and &H8000 is -32768.
double radixValue(Reader& r, int base) {
    double v = 0;
    for (int d; (d = digitValue(r.peek(), base)) >= 0; r.take()) v = v * base + d;
    if (v <= 0xFFFF) return v >= 0x8000 ? v - 0x10000 : v;
    if (v <= 0xFFFFFFFFu) return v >= 0x80000000u ? v - 4294967296.0 : v;
    return v;
}

double decimalValue(Reader& r) {
    std::string number;
    bool negative = false;
    if (r.peek() == '+' || r.peek() == '-') {
        negative = r.peek() == '-';
        r.take();
    }
    std::string whole, fraction;
    while (r.peek() >= '0' && r.peek() <= '9') {
        whole += r.peek();
        r.take();
    }
    if (r.peek() == '.') {
        r.take();
        while (r.peek() >= '0' && r.peek() <= '9') {
            fraction += r.peek();
            r.take();
        }
    }
    if (whole.empty() && fraction.empty()) return 0;

    long exponent = 0;
    if (r.peek() == 'E' || r.peek() == 'e') {
        r.take();
        bool negativeExponent = false;
        if (r.peek() == '+' || r.peek() == '-') {
            negativeExponent = r.peek() == '-';
            r.take();
        }
        while (r.peek() >= '0' && r.peek() <= '9') {
            if (exponent < 1'000'000) exponent = exponent * 10 + (r.peek() - '0');
            r.take();
        }
        if (negativeExponent) exponent = -exponent;
    }

    const std::string text =
        (whole.empty() ? "0" : whole) + "." + fraction + "e" + std::to_string(exponent);
    double v = 0;
    auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    (void)ptr;
    if (ec == std::errc::result_out_of_range) {
        // Too large gives an infinity, too small zero; tell them apart by the magnitude.
        const auto firstDigit = (whole + fraction).find_first_not_of('0');
        const long magnitude =
            exponent + static_cast<long>(whole.size()) - static_cast<long>(firstDigit);
        v = magnitude > 0 ? HUGE_VAL : 0.0;
    }
    return negative ? -v : v;
}

}  // namespace

std::string text(double x) {
    return generalText(x, 15);
}

std::string plainText(double x) {
    return generalText(x, 15, false);
}

std::string text(float x) {
    return generalText(x, 7);
}

double value(std::string_view t) {
    Reader r(t);
    if (r.peek() == '&') {
        r.take();
        const char kind = r.peek();
        if (kind == 'H' || kind == 'h') {
            r.take();
            return radixValue(r, 16);
        }
        if (kind == 'O' || kind == 'o') {
            r.take();
            return radixValue(r, 8);
        }
        return 0;
    }
    return decimalValue(r);
}

std::string formatMask(double x, int decimals) {
    if (decimals < 0 || decimals > kMaxMaskDecimals)
        throw std::invalid_argument("formatMask: decimals must be 0 to 15, not " +
                                    std::to_string(decimals));
    if (!std::isfinite(x)) return text(x);
    const std::string t = text(x);
    if (t.find('E') != std::string::npos) {
        char buf[400];
        auto [end, ec] =
            std::to_chars(buf, buf + sizeof buf, x, std::chars_format::fixed, decimals);
        if (ec != std::errc()) throw std::runtime_error("formatMask: no room for the digits");
        return std::string(buf, end);
    }
    const bool negative = t[0] == '-';
    const std::string body = negative ? t.substr(1) : t;
    const auto point = body.find('.');
    std::string digits = body.substr(0, point);
    std::string fraction = point == std::string::npos ? "" : body.substr(point + 1);
    fraction.resize(static_cast<std::size_t>(decimals) + 1, '0');
    const bool roundUp = fraction.back() >= '5';
    fraction.pop_back();
    digits += fraction;
    if (roundUp) {
        std::size_t i = digits.size();
        while (i > 0 && digits[i - 1] == '9') digits[--i] = '0';
        if (i == 0)
            digits.insert(digits.begin(), '1');
        else
            ++digits[i - 1];
    }
    const std::size_t wholeDigits = digits.size() - static_cast<std::size_t>(decimals);
    // Built by appending: g++ 12 at -O3 (the Release build) takes `"." + part` and `out = "0"`
    // here for overlapping copies, warnings that are errors.
    std::string out = wholeDigits > 0 ? digits.substr(0, wholeDigits) : std::string(1, '0');
    if (decimals > 0) out.append(1, '.').append(digits, wholeDigits);
    const bool zero = digits.find_first_not_of('0') == std::string::npos;
    return (negative && !zero ? "-" : "") + out;
}

}  // namespace kartovex
