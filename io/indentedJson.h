#ifndef INDENTEDJSON_H
#define INDENTEDJSON_H

#include <QByteArray>
#include <QJsonObject>

// The text QJsonDocument(object).toJson(QJsonDocument::Indented) gives,
// byte for byte, at a fraction of its cost: Qt's writer converts every
// key and string twice and made saving a large diagram cost as much as
// building its document.
QByteArray indentedJson(const QJsonObject &object);

#endif // INDENTEDJSON_H
