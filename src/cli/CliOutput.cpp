#include "cli/CliOutput.h"

#include <cstdio>

namespace {
void write(std::FILE* stream, const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fflush(stream);
}
} // namespace

void printLine(const QString& text)
{
    write(stdout, text + QLatin1Char('\n'));
}

void printText(const QString& text)
{
    write(stdout, text);
}

void printError(const QString& message)
{
    write(stderr, QStringLiteral("lockwell-cli: ") + message + QLatin1Char('\n'));
}

void printToError(const QString& text)
{
    write(stderr, text);
}
