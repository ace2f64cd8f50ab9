#include "io/indentedJson.h"

#include "io/JsonTextWriter.h"

#include <QJsonArray>

namespace {

void writeValue(JsonTextWriter &json, const QJsonValue &value)
{
    switch (value.type()) {
    case QJsonValue::Bool:
        json.value(value.toBool());
        break;
    case QJsonValue::Double:
        json.value(value.toDouble());
        break;
    case QJsonValue::String:
        json.value(value.toString());
        break;
    case QJsonValue::Array:
        json.beginArray();
        for (const QJsonValue &element : value.toArray())
            writeValue(json, element);
        json.endArray();
        break;
    case QJsonValue::Object: {
        const QJsonObject object = value.toObject();
        json.beginObject();
        for (auto it = object.begin(); it != object.end(); ++it) {
            json.key(it.key());
            writeValue(json, it.value());
        }
        json.endObject();
        break;
    }
    default:
        json.null();
        break;
    }
}

} // namespace

QByteArray indentedJson(const QJsonObject &object)
{
    JsonTextWriter json;
    writeValue(json, object);
    return json.text();
}
