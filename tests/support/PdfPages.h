#pragma once
// The number of pages of a PDF file, read from its page objects; -1 when the
// file is missing or is no PDF.

#include <QFile>
#include <QRegularExpression>

namespace tarvex::test {

inline int pdfPageCount(const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly) || !file.read(5).startsWith("%PDF"))
        return -1;
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?!s)"));
    return int(QString::fromLatin1(file.readAll()).count(page));
}

} // namespace tarvex::test
