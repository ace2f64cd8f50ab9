#include "io/ReadReport.h"

#include <QObject>
#include <QStringList>

QString ReadReport::summary() const
{
    QStringList sentences;
    if (skippedItems == 1)
        sentences << QObject::tr("1 objet illisible a été ignoré.");
    else if (skippedItems > 1)
        sentences << QObject::tr("%1 objets illisibles ont été ignorés.").arg(skippedItems);
    if (correctedValues == 1)
        sentences << QObject::tr("1 valeur invalide ou hors limites a été corrigée.");
    else if (correctedValues > 1)
        sentences << QObject::tr("%1 valeurs invalides ou hors limites ont été corrigées.")
                         .arg(correctedValues);
    return sentences.join(QLatin1Char(' '));
}
