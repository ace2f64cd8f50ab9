#include "io/JsonFields.h"

#include <QJsonValue>

#include <cmath>

namespace {

bool isObject(const QJsonValue &v) { return v.isObject(); }
bool isBool(const QJsonValue &v) { return v.isBool(); }
bool isString(const QJsonValue &v) { return v.isString(); }
// JSON has no infinities, but a number too large for a double reads as one.
bool isFiniteNumber(const QJsonValue &v) { return v.isDouble() && std::isfinite(v.toDouble()); }

} // namespace

JsonFields::JsonFields(const QJsonObject &object)
    : JsonFields(object, std::make_shared<State>())
{
}

JsonFields::JsonFields(const QJsonObject &object, std::shared_ptr<State> state)
    : m_object(object), m_state(std::move(state))
{
}

bool JsonFields::contains(const char *key) const
{
    return m_object.contains(QLatin1String(key));
}

QJsonValue JsonFields::value(const char *key, Presence presence,
                             bool (*isRightKind)(const QJsonValue &)) const
{
    const QJsonValue value = m_object.value(QLatin1String(key));
    if (isRightKind(value))
        return value;
    if (presence == Required)
        reject();
    else if (!value.isUndefined())
        corrected();
    return QJsonValue(QJsonValue::Undefined);
}

double JsonFields::clamped(double value, double min, double max) const
{
    if (value >= min && value <= max)
        return value;
    corrected();
    return qBound(min, value, max);
}

JsonFields JsonFields::object(const char *key, Presence presence) const
{
    return JsonFields(value(key, presence, isObject).toObject(), m_state);
}

double JsonFields::number(const char *key, Presence presence, double min, double max,
                          double fallback) const
{
    const QJsonValue v = value(key, presence, isFiniteNumber);
    return v.isUndefined() ? fallback : clamped(v.toDouble(), min, max);
}

int JsonFields::integer(const char *key, Presence presence, int min, int max, int fallback) const
{
    const QJsonValue v = value(key, presence, isFiniteNumber);
    // Clamping as a double first keeps the conversion to int defined.
    return v.isUndefined() ? fallback : int(clamped(std::trunc(v.toDouble()), min, max));
}

int JsonFields::choice(const char *key, Presence presence, int count, int fallback) const
{
    const QJsonValue v = value(key, presence, isFiniteNumber);
    if (v.isUndefined())
        return fallback;
    const double d = v.toDouble();
    if (d >= 0 && d < count && d == std::trunc(d))
        return int(d);
    if (presence == Required)
        reject();
    else
        corrected();
    return fallback;
}

bool JsonFields::boolean(const char *key, Presence presence, bool fallback) const
{
    const QJsonValue v = value(key, presence, isBool);
    return v.isUndefined() ? fallback : v.toBool();
}

QString JsonFields::string(const char *key, Presence presence, const QString &fallback) const
{
    const QJsonValue v = value(key, presence, isString);
    if (v.isUndefined())
        return fallback;
    if (presence == Required && v.toString().isEmpty())
        reject();
    return v.toString();
}

QColor JsonFields::color(const char *key, Presence presence, const QColor &fallback) const
{
    if (!contains(key) && presence == Optional)
        return fallback;
    const JsonFields rgb = object(key, presence);
    if (rgb.m_object.isEmpty())
        return fallback;
    return QColor(rgb.integer("r", Optional, 0, 255), rgb.integer("g", Optional, 0, 255),
                  rgb.integer("b", Optional, 0, 255));
}
