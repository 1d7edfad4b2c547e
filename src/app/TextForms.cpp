#include "app/TextForms.h"

#include "errortrap/Bulwark.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace {

[[noreturn]] void typeMismatch()
{
    throw RuntimeError(BwErr::TypeMismatch, QStringLiteral("Type mismatch"));
}

[[noreturn]] void overflow()
{
    throw RuntimeError(TextForms::kOverflow, QStringLiteral("Overflow"));
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Length of the longest prefix of s[from..] that is a decimal number; 0 when there is none.
size_t numberPrefixLength(const std::string& s, size_t from)
{
    size_t i = from;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        ++i;
    size_t digits = 0;
    while (i < s.size() && isDigit(s[i])) {
        ++i;
        ++digits;
    }
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && isDigit(s[i])) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0)
        return 0;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-'))
            ++j;
        const size_t expStart = j;
        while (j < s.size() && isDigit(s[j]))
            ++j;
        if (j > expStart)
            i = j;
    }
    return i - from;
}

// Converts an ASCII number already matched by numberPrefixLength; false when it is out of range.
bool convert(const std::string& s, size_t length, double* value)
{
    const char* first = s.data();
    const char* last = s.data() + length;
    if (first != last && *first == '+')
        ++first;
    double result = 0.0;
    const auto [ptr, ec] = std::from_chars(first, last, result);
    if (ec != std::errc() || ptr != last)
        return false;
    *value = result;
    return true;
}

// ASCII copy of a text, or an empty string when the text holds anything else.
std::string asciiOf(const QString& text)
{
    std::string out;
    out.reserve(static_cast<size_t>(text.size()));
    for (const QChar ch : text) {
        if (ch.unicode() > 0x7F)
            return std::string();
        out.push_back(static_cast<char>(ch.unicode()));
    }
    return out;
}

} // namespace

namespace TextForms {

QString fromBoolean(bool value)
{
    BW_TRACE("TextForms.cpp", "Function fromBoolean");
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

bool toBoolean(const QString& text)
{
    BW_TRACE("TextForms.cpp", "Function toBoolean");
    const QString t = text.trimmed();
    if (t.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
        return true;
    if (t.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
        return false;
    double number = 0.0;
    if (!parseNumber(t, &number))
        typeMismatch();
    return number != 0.0;
}

QString fromInteger(qint16 value)
{
    BW_TRACE("TextForms.cpp", "Function fromInteger");
    return QString::number(value);
}

qint16 toInteger(const QString& text)
{
    BW_TRACE("TextForms.cpp", "Function toInteger");
    double number = 0.0;
    if (!parseNumber(text, &number))
        typeMismatch();
    const double rounded = roundHalfEven(number);
    if (rounded < std::numeric_limits<qint16>::min() || rounded > std::numeric_limits<qint16>::max())
        overflow();
    return static_cast<qint16>(rounded);
}

QString fromSingle(float value)
{
    BW_TRACE("TextForms.cpp", "Function fromSingle");
    // QString::number always uses "." whatever the locale; 7 significant digits bring every float
    // that was itself read from such a text back to the same float.
    return QString::number(static_cast<double>(value), 'g', 7);
}

float toSingle(const QString& text)
{
    BW_TRACE("TextForms.cpp", "Function toSingle");
    double number = 0.0;
    if (!parseNumber(text, &number)) {
        QString comma = text.trimmed();
        if (comma.count(QLatin1Char(',')) != 1 || comma.contains(QLatin1Char('.')))
            typeMismatch();
        comma.replace(QLatin1Char(','), QLatin1Char('.'));
        if (!parseNumber(comma, &number))
            typeMismatch();
    }
    if (std::fabs(number) > static_cast<double>(std::numeric_limits<float>::max()))
        overflow();
    return static_cast<float>(number);
}

bool parseNumber(const QString& text, double* value)
{
    BW_TRACE("TextForms.cpp", "Function parseNumber");
    const std::string s = asciiOf(text.trimmed());
    if (s.empty())
        return false;
    const size_t length = numberPrefixLength(s, 0);
    if (length == 0 || length != s.size())
        return false;
    return convert(s, length, value);
}

double leadingNumber(const QString& text)
{
    BW_TRACE("TextForms.cpp", "Function leadingNumber");
    std::string s;
    s.reserve(static_cast<size_t>(text.size()));
    for (const QChar ch : text) {
        const char16_t u = ch.unicode();
        if (u == ' ' || u == '\t' || u == '\n')
            continue;
        if (u > 0x7F)
            break;
        s.push_back(static_cast<char>(u));
    }
    const size_t length = numberPrefixLength(s, 0);
    double number = 0.0;
    if (length == 0 || !convert(s, length, &number))
        return 0.0;
    return number;
}

double roundHalfEven(double value)
{
    BW_TRACE("TextForms.cpp", "Function roundHalfEven");
    return std::nearbyint(value); // the default rounding mode rounds halves to even
}

} // namespace TextForms
