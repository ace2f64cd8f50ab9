#include "export/withFilterSuffix.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace {

// "png" for "PNG (*.png)"; empty for a filter without a suffix pattern.
QString filterSuffix(const QString &filter)
{
    static const QRegularExpression pattern(QStringLiteral("\\*\\.(\\w+)"));
    return pattern.match(filter).captured(1);
}

} // namespace

QString withFilterSuffix(const QString &fileName, const QString &filters,
                         const QString &selectedFilter)
{
    if (!QFileInfo(fileName).suffix().isEmpty())
        return fileName;
    const QString filter = selectedFilter.isEmpty()
        ? filters.section(QStringLiteral(";;"), 0, 0)
        : selectedFilter;
    const QString suffix = filterSuffix(filter);
    if (suffix.isEmpty())
        return fileName;
    // "schema." has an empty suffix too; it must not become "schema..png".
    const QString stem = fileName.endsWith(QLatin1Char('.')) ? fileName.chopped(1) : fileName;
    return stem + QLatin1Char('.') + suffix;
}
