#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <type_traits>

namespace kelno::testing {

// The name of a parameterised case, built from the values that set it apart, so that ctest
// and the test output read "Current_minus1e_06_Shown" rather than a dump of the parameter's
// bytes. GoogleTest takes letters, digits and underscores only: words keep their letters and
// digits, a minus sign is spelt out, a decimal point becomes 'p', and the parts are joined
// with '_'.
class CaseName {
public:
    CaseName& operator<<(std::string_view word) {
        Separate();
        bool gap = false;
        for (const char c : word) {
            if (IsNameCharacter(c)) {
                if (gap && !name_.empty() && name_.back() != '_') {
                    name_ += '_';
                }
                name_ += c;
                gap = false;
            } else {
                gap = true;
            }
        }
        return *this;
    }
    CaseName& operator<<(const char* word) { return *this << std::string_view(word); }

    template <class Number>
    requires std::is_arithmetic_v<Number> CaseName& operator<<(Number value) {
        char text[32];
        if constexpr (std::is_floating_point_v<Number>) {
            std::snprintf(text, sizeof text, "%.10g", static_cast<double>(value));
        } else {
            std::snprintf(text, sizeof text, "%lld", static_cast<long long>(value));
        }
        Separate();
        for (const char* c = text; *c != '\0'; ++c) {
            if (*c == '-') {
                name_ += "minus";
            } else if (*c == '.') {
                name_ += 'p';
            } else if (IsNameCharacter(*c)) {
                name_ += *c;
            }
        }
        return *this;
    }

    operator std::string() const { return name_; }

private:
    static bool IsNameCharacter(char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    }
    void Separate() {
        if (!name_.empty()) {
            name_ += '_';
        }
    }

    std::string name_;
};

}  // namespace kelno::testing
