#include "crypto/PasswordGenerator.h"

#include "errortrap/Bulwark.h"

#include <cerrno>
#include <chrono>
#include <sys/random.h>

namespace {
constexpr int kFirstCode = 48; // '0'
constexpr int kCodeCount = 75; // '0' .. 'z'
constexpr int kLastDigit = 57; // '9'

// splitmix64: spreads the time-of-day seed over the whole 64-bit word.
std::uint64_t splitMix64(std::uint64_t& state)
{
    state += 0x9E3779B97F4A7C15ULL;
    std::uint64_t z = state;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

std::uint64_t osRandom64()
{
    BW_TRACE("PasswordGenerator.cpp", "Function osRandom64");
    std::uint64_t value = 0;
    auto* bytes = reinterpret_cast<unsigned char*>(&value);
    std::size_t filled = 0;
    while (filled < sizeof value) {
        const ssize_t got = getrandom(bytes + filled, sizeof value - filled, 0);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            throw RuntimeError(BwErr::InvalidProcedureCall,
                               QStringLiteral("The operating system's random source is not available"));
        }
        filled += static_cast<std::size_t>(got);
    }
    return value;
}
} // namespace

std::uint64_t timeOfDaySeed()
{
    BW_TRACE("PasswordGenerator.cpp", "Function timeOfDaySeed");
    using namespace std::chrono;
    constexpr std::int64_t kNanosPerDay = 86400LL * 1000 * 1000 * 1000;
    const std::int64_t nanos = duration_cast<nanoseconds>(system_clock::now().time_since_epoch()).count();
    return static_cast<std::uint64_t>(((nanos % kNanosPerDay) + kNanosPerDay) % kNanosPerDay);
}

SystemUniformSource::SystemUniformSource()
{
    BW_TRACE("PasswordGenerator.cpp", "Sub SystemUniformSource");
    reseedFromClock();
}

void SystemUniformSource::reseedFromClock()
{
    BW_TRACE("PasswordGenerator.cpp", "Sub reseedFromClock");
    reseed(timeOfDaySeed());
}

void SystemUniformSource::reseed(std::uint64_t seed)
{
    BW_TRACE("PasswordGenerator.cpp", "Sub reseed");
    m_mixState = seed;
}

double SystemUniformSource::nextFraction()
{
    BW_TRACE("PasswordGenerator.cpp", "Function nextFraction");
    const std::uint64_t value = osRandom64() ^ splitMix64(m_mixState);
    return static_cast<double>(value >> 11) * 0x1.0p-53; // the top 53 bits: 0 <= r < 1
}

bool isRejectedCode(int code, PasswordType type)
{
    BW_TRACE("PasswordGenerator.cpp", "Function isRejectedCode");
    if (type == PasswordType::Numeric && code > kLastDigit)
        return true;
    if (type == PasswordType::Alpha && code >= kFirstCode && code <= kLastDigit)
        return true;
    if (code >= 58 && code <= 64) // ':' .. '@'
        return true;
    if (code >= 91 && code <= 96) // '[' .. '`'
        return true;
    switch (code) {
    case 'I':
    case 'i':
    case 'L':
    case 'l':
    case 'O':
    case 'o':
        return true;
    default:
        return false;
    }
}

QString drawPassword(int length, PasswordType type, LetterCase letterCase, UniformSource& source)
{
    BW_TRACE("PasswordGenerator.cpp", "Function drawPassword");
    QString result;
    result.reserve(length > 0 ? length : 0);
    for (int position = 0; position < length; ++position) {
        int code;
        do {
            const double r = source.nextFraction();
            if (!(r >= 0.0 && r < 1.0))
                throw RuntimeError(BwErr::InvalidProcedureCall, QStringLiteral("Random fraction out of range"));
            code = static_cast<int>(kCodeCount * r) + kFirstCode;
        } while (isRejectedCode(code, type));
        result.append(QLatin1Char(static_cast<char>(code)));
    }
    if (letterCase == LetterCase::Upper)
        return result.toUpper();
    if (letterCase == LetterCase::Lower)
        return result.toLower();
    return result;
}
