#ifndef LISTWIDGET_H
#define LISTWIDGET_H

#include <QHash>
#include <QIcon>
#include <QListWidget>
#include <QSet>

class DiagramItem;
class DiagramObject;
class DiagramScene;
class DiagramTextItem;
class QGraphicsItem;
class QMenu;

// The item list under the tool box: one entry per shape, text, picture,
// formula and arrow of the scene, in the order of the objects' list keys.
// Entries hold no pointers to items; they carry the item's id, plain name,
// type number and list key, and the list finds them again by id through an
// index that follows every insertion and removal of rows, whoever makes it
// (clear() included).
class ListWidget : public QListWidget
{
    Q_OBJECT

public:
    enum Role {
        IdRole = Qt::UserRole + 1,
        NameRole = Qt::UserRole + 2,
        TypeRole = Qt::UserRole + 3,
        KeyRole = Qt::UserRole + 4,
    };

    // The menu for several entries is not owned; one entry asks for its
    // object's menu through contextMenuRequested().
    ListWidget(QMenu *multiMenu, DiagramScene *scene, QWidget *parent = nullptr);
    ~ListWidget() override;

    // The scene whose items the entries name; given again for every new scene.
    void setScene(DiagramScene *scene);
    DiagramScene *scene() const { return m_scene; }

    // The scene's shape, picture, formula, text or arrow with that id, or null.
    QGraphicsItem *getItemById(int id) const;

    // The entry of a newly inserted object, at its key's place (the end,
    // for a new one).
    QListWidgetItem *addEntry(DiagramObject *object);
    // The entries of many objects at once, each at its key's place: a whole
    // loaded scene, or objects put back by an undo. A linked shape's entry
    // is named with its link.
    void addEntries(const QList<DiagramObject *> &objects);
    // Takes the entries of these objects out, in one pass when they are many.
    void removeEntries(const QList<DiagramObject *> &objects);
    // Moves an object's entry to its key's place, as linking changes it.
    void placeEntry(DiagramObject *object);
    // The shown text of a shape's entry while a text is linked to it.
    static QString linkedEntryText(const DiagramItem *shape, const DiagramTextItem *text);

    // The entry with that id, or null.
    QListWidgetItem *entryById(int id) const;
    // Display text and plain name of the entry with that id, if any.
    void setEntryName(int id, const QString &name);
    // Selects exactly the entries whose item is selected in the scene, in
    // one change of the list's selection.
    void selectEntriesOfSelectedItems();
    // Selects exactly the items of the selected entries in the scene;
    // items without entry are deselected.
    void selectItemsOfSelectedEntries();

    // The id, or -1 when the item is of no kind the list shows.
    static int idOf(const QGraphicsItem *item);
    static QString nameOf(const QGraphicsItem *item);

signals:
    // A right click with one entry selected.
    void contextMenuRequested(DiagramObject *object, const QPoint &screenPosition);

protected:
    void mousePressEvent(QMouseEvent *event) override;

private:
    // The item that the entry of that row names, or null.
    QGraphicsItem *itemOfRow(int row) const;
    QListWidgetItem *newEntry(DiagramObject *object) const;
    // The row at which an entry with that key belongs.
    int rowForKey(double key) const;
    // Every row, taken out in order, with the selection cleared.
    QList<QListWidgetItem *> takeAllRows();
    // Puts back the kept rows and the added ones in key order.
    void rebuildRows(const QList<QListWidgetItem *> &kept, QList<QListWidgetItem *> added);
    void indexRows(int first, int last);
    void unindexRows(int first, int last);
    void showMenuOfSelection(const QPoint &screenPosition);

    QMenu *multiMenu;
    DiagramScene *m_scene;
    QHash<int, QListWidgetItem *> entriesById;
};

#endif // LISTWIDGET_H
