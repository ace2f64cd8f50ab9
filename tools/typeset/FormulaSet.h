#ifndef FORMULASET_H
#define FORMULASET_H

// The formula sets beside this file (palette.txt, harder.txt) hold one
// formula per line, as typed in the editor; blank lines are skipped.

#include <QFile>
#include <QStringList>
#include <QTextStream>

// The formulas of the file at `path`; false in *ok when it cannot be read.
inline QStringList readFormulaSet(const QString& path, bool* ok = nullptr)
{
    QFile file(path);
    const bool opened = file.open(QIODevice::ReadOnly | QIODevice::Text);
    if (ok)
        *ok = opened;
    QStringList formulas;
    if (!opened)
        return formulas;
    QTextStream in(&file);
    in.setCodec("UTF-8");
    while (!in.atEnd()) {
        const QString line = in.readLine();
        if (!line.trimmed().isEmpty())
            formulas << line;
    }
    return formulas;
}

#endif // FORMULASET_H
