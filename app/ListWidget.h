#ifndef LISTWIDGET_H
#define LISTWIDGET_H

#include <QHash>
#include <QIcon>
#include <QListWidget>
#include <QSet>

class Arrow;
class DiagramImage;
class DiagramItem;
class DiagramScene;
class DiagramTextItem;
class QGraphicsItem;
class QMenu;

// The item list under the tool box: one entry per shape, text, picture,
// formula and arrow of the scene. Entries hold no pointers to items; they
// carry the item's id, plain name and type number, and the list finds them
// again by id through an index that follows every insertion and removal of
// rows, whoever makes it (clear() included).
class ListWidget : public QListWidget
{
    Q_OBJECT

public:
    enum Role { IdRole = Qt::UserRole + 1, NameRole = Qt::UserRole + 2, TypeRole = Qt::UserRole + 3 };

    // The menus and the scene are not owned.
    ListWidget(QMenu *itemMenu, QMenu *imageMenu, QMenu *textMenu, QMenu *arrowMenu,
               QMenu *multiMenu, DiagramScene *scene, QWidget *parent = nullptr);
    ~ListWidget() override;

    // The scene whose items the entries name; given again for every new scene.
    void setScene(DiagramScene *scene);
    DiagramScene *scene() const { return m_scene; }

    // The scene's shape, picture, formula, text or arrow with that id, or null.
    QGraphicsItem *getItemById(int id) const;

    // Appends the entry of a newly inserted item.
    QListWidgetItem *addEntry(DiagramItem *item);
    QListWidgetItem *addEntry(DiagramTextItem *item);
    QListWidgetItem *addEntry(DiagramImage *item);
    QListWidgetItem *addEntry(Arrow *arrow);
    // Appends the entries of a whole scene's items in the order given, as
    // their insertions one by one and their links would have left them: a
    // linked shape follows its text, named with the link.
    void addEntries(const QList<QGraphicsItem *> &items);
    // The shown text of a shape's entry while a text is linked to it.
    static QString linkedEntryText(const DiagramItem *shape, const DiagramTextItem *text);

    // The entry with that id, or null.
    QListWidgetItem *entryById(int id) const;
    // Destroys the entry with that id, if any; between beginRemovals() and
    // endRemovals() the entry only leaves the index, and all the entries
    // removed meanwhile leave the list together at the end.
    void removeEntry(int id);
    void beginRemovals();
    void endRemovals();
    // Moves `entry` to the row just after `anchor`.
    void moveEntryAfter(QListWidgetItem *entry, QListWidgetItem *anchor);
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
    // Fills the property widgets with the item's values, by its kind.
    static void updateActionsOf(QGraphicsItem *item);

protected:
    void mousePressEvent(QMouseEvent *event) override;

private:
    // The item that the entry of that row names, or null.
    QGraphicsItem *itemOfRow(int row) const;
    QListWidgetItem *appendEntry(const QIcon &icon, const QString &name, int id, int type);
    void indexRows(int first, int last);
    void unindexRows(int first, int last);
    void showMenuOfSelection(const QPoint &screenPosition);
    QMenu *menuOf(int type) const;

    QMenu *itemMenu;
    QMenu *imageMenu;
    QMenu *textMenu;
    QMenu *arrowMenu;
    QMenu *multiMenu;
    DiagramScene *m_scene;
    QHash<int, QListWidgetItem *> entriesById;
    int removalDepth = 0;
    QSet<QListWidgetItem *> pendingRemovals;
};

#endif // LISTWIDGET_H
