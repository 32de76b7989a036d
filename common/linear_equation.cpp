#include "common/linear_equation.h"

#include <charconv>
#include <cmath>

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isNameStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool isNameChar(char c) { return isNameStart(c) || isDigit(c); }
bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool sameName(std::string_view x, std::string_view y)
{
    if (x.size() != y.size())
        return false;
    for (std::size_t i = 0; i < x.size(); ++i)
        if (lower(x[i]) != lower(y[i]))
            return false;
    return true;
}

// a x variable + b; a = 0 is a constant.
struct Form {
    double a = 0.0;
    double b = 0.0;
    bool constant() const { return a == 0.0; }
};

// Recursive descent over the text. Every way down (a parenthesis, an
// exponent) passes through `enter`, so hostile nesting ends at the depth limit
// instead of at the end of the stack; a chain of signs is read in a loop.
class Reader {
public:
    Reader(std::string_view text, std::string_view variable) : m_text(text), m_variable(variable) {}

    bool read(Form& result)
    {
        if (!expression(result))
            return false;
        skipSpace();
        return m_pos == m_text.size();
    }

private:
    std::string_view m_text;
    std::string_view m_variable;
    std::size_t m_pos = 0;
    std::size_t m_depth = 0;

    void skipSpace()
    {
        while (m_pos < m_text.size() && isSpace(m_text[m_pos]))
            ++m_pos;
    }
    char peek()
    {
        skipSpace();
        return m_pos < m_text.size() ? m_text[m_pos] : '\0';
    }

    static bool finite(const Form& f) { return std::isfinite(f.a) && std::isfinite(f.b); }

    bool expression(Form& result)
    {
        if (++m_depth > kEquationMaxDepth)
            return false;
        if (!term(result))
            return false;
        for (char op = peek(); op == '+' || op == '-'; op = peek()) {
            ++m_pos;
            Form right;
            if (!term(right))
                return false;
            const double sign = op == '+' ? 1.0 : -1.0;
            result = {result.a + sign * right.a, result.b + sign * right.b};
            if (!finite(result))
                return false;
        }
        --m_depth;
        return true;
    }

    bool term(Form& result)
    {
        if (!signed_(result))
            return false;
        for (char op = peek(); op == '*' || op == '/'; op = peek()) {
            ++m_pos;
            Form right;
            if (!signed_(right))
                return false;
            if (op == '*') {
                if (!result.constant() && !right.constant())
                    return false;   // the variable times itself
                result = {result.a * right.b + right.a * result.b, result.b * right.b};
            } else {
                if (!right.constant() || right.b == 0.0)
                    return false;   // the variable in a denominator, or a division by zero
                result = {result.a / right.b, result.b / right.b};
            }
            if (!finite(result))
                return false;
        }
        return true;
    }

    // Signs, then a power: -2^2 is -4.
    bool signed_(Form& result)
    {
        bool negative = false;
        for (char c = peek(); c == '+' || c == '-'; c = peek()) {
            negative ^= c == '-';
            ++m_pos;
        }
        if (!power(result))
            return false;
        if (negative)
            result = {-result.a, -result.b};
        return true;
    }

    bool power(Form& result)
    {
        if (!primary(result))
            return false;
        if (peek() != '^')
            return true;
        ++m_pos;
        if (++m_depth > kEquationMaxDepth)
            return false;
        Form exponent;
        if (!signed_(exponent))
            return false;
        --m_depth;
        if (!result.constant() || !exponent.constant())
            return false;
        result = {0.0, std::pow(result.b, exponent.b)};
        return finite(result);
    }

    bool primary(Form& result)
    {
        const char c = peek();
        if (c == '(') {
            ++m_pos;
            if (!expression(result) || peek() != ')')
                return false;
            ++m_pos;
            return true;
        }
        if (isDigit(c) || c == '.')
            return number(result);
        if (isNameStart(c)) {
            const std::size_t start = m_pos;
            while (m_pos < m_text.size() && isNameChar(m_text[m_pos]))
                ++m_pos;
            const std::string_view name = m_text.substr(start, m_pos - start);
            if (peek() == '(' || !sameName(name, m_variable))
                return false;   // a function, or another variable
            result = {1.0, 0.0};
            return true;
        }
        return false;
    }

    // Digits with an optional fraction (either part may be missing, not
    // both) and an optional exponent.
    bool number(Form& result)
    {
        const std::size_t start = m_pos;
        std::size_t digits = 0;
        auto skipDigits = [&] {
            while (m_pos < m_text.size() && isDigit(m_text[m_pos])) {
                ++m_pos;
                ++digits;
            }
        };
        skipDigits();
        if (m_pos < m_text.size() && m_text[m_pos] == '.') {
            ++m_pos;
            skipDigits();
        }
        if (digits == 0)
            return false;
        if (m_pos < m_text.size() && (m_text[m_pos] == 'e' || m_text[m_pos] == 'E')) {
            std::size_t p = m_pos + 1;
            if (p < m_text.size() && (m_text[p] == '+' || m_text[p] == '-'))
                ++p;
            if (p < m_text.size() && isDigit(m_text[p])) {
                m_pos = p;
                while (m_pos < m_text.size() && isDigit(m_text[m_pos]))
                    ++m_pos;
            }
        }
        double value = 0.0;
        const char* first = m_text.data() + start;
        const char* last = m_text.data() + m_pos;
        const auto [end, error] = std::from_chars(first, last, value);
        if (error != std::errc() || end != last || !std::isfinite(value))
            return false;
        result = {0.0, value};
        return true;
    }
};

} // namespace

std::optional<LinearEquation> linearEquation(std::string_view text, std::string_view variable)
{
    Form form;
    if (!Reader(text, variable).read(form) || form.a == 0.0 || !std::isfinite(form.b / form.a))
        return std::nullopt;
    return LinearEquation{form.a, form.b};
}
