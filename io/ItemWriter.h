#ifndef ITEMWRITER_H
#define ITEMWRITER_H

class DiagramObject;
class JsonTextWriter;

// The object of one item in a scene document, by the item's kind: shapes,
// texts, pictures and formulas, arrows (see the reader for the keys).
void writeItem(JsonTextWriter &json, const DiagramObject &object);

#endif // ITEMWRITER_H
