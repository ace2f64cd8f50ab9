#ifndef DIAGRAMOBJECTVISITOR_H
#define DIAGRAMOBJECTVISITOR_H

class Arrow;
class DiagramImage;
class DiagramItem;
class DiagramTextItem;

// Visits an object as the class it is, for code that needs each kind's own
// state (the scene-file writer) without switching on types.
class DiagramObjectVisitor
{
public:
    virtual ~DiagramObjectVisitor() = default;
    virtual void visit(const DiagramItem &shape) = 0;
    virtual void visit(const DiagramTextItem &text) = 0;
    virtual void visit(const DiagramImage &image) = 0;
    virtual void visit(const Arrow &arrow) = 0;
};

#endif // DIAGRAMOBJECTVISITOR_H
