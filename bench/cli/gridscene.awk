# Writes a scene document of n rectangles on a grid of `columns` columns,
# chained by arrows in serpentine order (left to right on even rows, right
# to left on odd ones) so that every arrow joins neighbours. Each rectangle
# carries a linked text label "Box i", unless labels=0: then the rectangles
# alone, of the size the labels give them.
#   awk -v n=1000 [-v columns=100] [-v dx=150] [-v dy=90] [-v labels=0] -f gridscene.awk
function colour(r, g, b) { return "{\"r\": " r ", \"g\": " g ", \"b\": " b "}" }
function item(text) { printf "%s%s", (items++ ? ",\n" : ""), text }
BEGIN {
    if (columns == "") columns = 100
    if (dx == "") dx = 150
    if (dy == "") dy = 90
    if (labels == "") labels = 1
    black = colour(0, 0, 0)
    printf "{\n\"background\": {},\n\"items\": [\n"
    for (i = 0; i < n; i++) {
        row = int(i / columns)
        column = row % 2 == 0 ? i % columns : columns - 1 - i % columns
        x = column * dx
        y = row * dy
        # With a label, the shape's place and size follow the text when the
        # link is read.
        item(sprintf("{\"type\": 65551, \"diagram\": 5, \"id\": %d, \"name\": \"Rectangle %d\", " \
                     "\"position\": {\"x\": %d, \"y\": %d, \"z\": 0}, \"rotation\": 0, " \
                     "\"scale\": {\"x\": 0.38, \"y\": 0.29}, " \
                     "\"border\": {\"width\": 1, \"color\": %s}, \"color\": %s}",
                     i, i, x + 38, y + 20, black, colour(200, 225, 250)))
        if (labels)
            item(sprintf("{\"type\": 65539, \"id\": %d, \"name\": \"Texte %d\", \"text\": \"Box %d\", " \
                         "\"position\": {\"x\": %d, \"y\": %d, \"z\": 1}, \"rotation\": 0, " \
                         "\"font\": {\"family\": \"DejaVu Sans\", \"size\": 12, \"bold\": false, " \
                         "\"italic\": false, \"underline\": false, \"strikeout\": false}, " \
                         "\"color\": %s, \"linked\": true, \"linkedId\": %d, \"alignment\": 2}",
                         n + i, i, i, x, y, black, i))
    }
    for (i = 0; i + 1 < n; i++)
        item(sprintf("{\"type\": 65540, \"id\": %d, \"name\": \"Flèche %d\", " \
                     "\"startItem\": {\"type\": 65551, \"id\": %d}, " \
                     "\"endItem\": {\"type\": 65551, \"id\": %d}, " \
                     "\"isPointed\": false, \"color\": %s, \"width\": 10}",
                     2 * n + i, i, i, i + 1, black))
    printf "\n],\n\"nbRectangle\": %d, \"nbText\": %d, \"nbArrows\": %d, \"nbItems\": %d\n}\n",
           n, labels ? n : 0, (n >= 1 ? n - 1 : 0), 3 * n
}
