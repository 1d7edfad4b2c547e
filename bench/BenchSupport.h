#pragma once
// What the benchmark programs share: a scratch folder that lives as long as the program, and random
// texts of realistic lengths for account records.
#include <QDir>
#include <QRandomGenerator>
#include <QString>
#include <QTemporaryDir>

namespace bench {

inline QTemporaryDir& scratch()
{
    static QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/lw-bench-XXXXXX"));
    return dir;
}

inline QString text(QRandomGenerator& random, int minLength, int maxLength)
{
    static const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 .-_";
    const int length = minLength + int(random.bounded(maxLength - minLength + 1));
    QString s(length, Qt::Uninitialized);
    for (int i = 0; i < length; ++i)
        s[i] = QLatin1Char(letters[random.bounded(int(sizeof letters - 1))]);
    return s;
}

} // namespace bench
