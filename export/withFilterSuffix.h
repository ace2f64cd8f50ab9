#ifndef WITHFILTERSUFFIX_H
#define WITHFILTERSUFFIX_H

#include <QString>

// The name with the suffix of the filter the user chose when it has none,
// so that "schema" saved under "PNG (*.png)" becomes "schema.png". Without
// a chosen filter, the first of `filters` (a dialog filter list, ";;"
// between filters) counts.
QString withFilterSuffix(const QString &fileName, const QString &filters,
                         const QString &selectedFilter);

#endif // WITHFILTERSUFFIX_H
