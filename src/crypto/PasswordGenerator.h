#pragma once
// The random password draw: the character pool, the rejection rules and the letter-case rule, as a plain
// function over a source of uniform fractions, so that tests can script the fractions.
#include <QString>
#include <cstdint>

// The lengths a password is drawn in.
constexpr int kShortestGeneratedPassword = 4;
constexpr int kLongestGeneratedPassword = 16;

// Character type, by the index of its option button in the generator dialog.
enum class PasswordType { AlphaNumeric = 0, Alpha = 1, Numeric = 2 };

// Letter case applied to the whole password after drawing, by option index.
enum class LetterCase { Mixed = 0, Upper = 1, Lower = 2 };

// A source of uniform fractions r with 0 <= r < 1.
class UniformSource
{
public:
    virtual ~UniformSource() = default;
    virtual double nextFraction() = 0;
};

// The program's source: 64-bit values from the operating system's CSPRNG (getrandom), each XOR-ed with a
// stream derived from the time-of-day seed of the latest reseed, turned into a fraction with 53 bits.
// The OS bytes alone make every value uniform and unpredictable; the time-of-day seed only perturbs them.
class SystemUniformSource : public UniformSource
{
public:
    SystemUniformSource();
    // Fresh seed from the current time of day (nanoseconds since midnight); called at every Generate press.
    void reseedFromClock();
    void reseed(std::uint64_t timeOfDaySeed);
    double nextFraction() override;

private:
    std::uint64_t m_mixState = 0;
};

// Nanoseconds since midnight (UTC) by the system clock.
std::uint64_t timeOfDaySeed();

// Draws a password of `length` characters from the character codes 48 to 122: each position takes
// floor(75 * r) + 48 and draws again while the code is refused for the type, is punctuation between the
// digits and the letters, or is one of I, i, L, l, O, o. Upper and Lower then convert the whole result.
// Throws RuntimeError when the source yields a fraction outside [0, 1).
QString drawPassword(int length, PasswordType type, LetterCase letterCase, UniformSource& source);

// True when code c (48..122) is refused for the given type.
bool isRejectedCode(int code, PasswordType type);
