#ifndef JSONFIELDS_H
#define JSONFIELDS_H

#include <QColor>
#include <QJsonObject>
#include <QString>

#include <memory>

// The values of one JSON object of a scene document, read with their types
// checked. A required value that is missing or of the wrong type makes the
// object unusable; an optional one of the wrong type gives its default and
// counts as a correction, as does a number clamped into its range. A
// missing optional value silently gives its default: files of older
// versions may lack it. Nested objects read through object() share the
// verdict and the count.
class JsonFields
{
public:
    enum Presence { Optional, Required };

    explicit JsonFields(const QJsonObject &object);

    bool isUsable() const { return m_state->usable; }
    int corrections() const { return m_state->corrections; }
    bool contains(const char *key) const;

    JsonFields object(const char *key, Presence presence) const;
    // A finite number clamped to [min, max].
    double number(const char *key, Presence presence, double min, double max,
                  double fallback = 0.0) const;
    // A number truncated toward zero and clamped to [min, max].
    int integer(const char *key, Presence presence, int min, int max, int fallback = 0) const;
    // A whole number in [0, count), one of a list of choices; any other
    // value is unusable (required) or gives the fallback (optional).
    int choice(const char *key, Presence presence, int count, int fallback = 0) const;
    bool boolean(const char *key, Presence presence, bool fallback = false) const;
    // Required strings must not be empty either.
    QString string(const char *key, Presence presence, const QString &fallback = QString()) const;
    // An opaque colour from a colour object {"r", "g", "b"}.
    QColor color(const char *key, Presence presence, const QColor &fallback) const;

    // Marks a value read elsewhere as unusable or as corrected.
    void reject() const { m_state->usable = false; }
    void corrected() const { ++m_state->corrections; }

private:
    struct State {
        bool usable = true;
        int corrections = 0;
    };
    JsonFields(const QJsonObject &object, std::shared_ptr<State> state);
    // The value, or an undefined value after noting that it is missing or
    // of the wrong kind.
    QJsonValue value(const char *key, Presence presence,
                     bool (*isRightKind)(const QJsonValue &)) const;
    double clamped(double value, double min, double max) const;

    QJsonObject m_object;
    std::shared_ptr<State> m_state;
};

#endif // JSONFIELDS_H
