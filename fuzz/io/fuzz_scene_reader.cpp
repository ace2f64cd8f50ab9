// Feeds arbitrary bytes to the scene file reader: decoding, rebuilding the
// scene, writing it again and drawing it must never crash or hang, and the
// loaded scene must keep the reader's promises; reading the text item by
// item must give what the whole tree gives.

#include "app/ListWidget.h"
#include "io/SceneDocument.h"
#include "io/SceneFile.h"
#include "io/SceneText.h"
#include "scene/Arrow.h"
#include "scene/DiagramScene.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace {

void quiet(QtMsgType, const QMessageLogContext &, const QString &) {}

void check(bool condition)
{
    if (!condition)
        std::abort();
}

void checkPromises(const DiagramScene &scene)
{
    for (const QGraphicsItem *item : scene.items()) {
        check(ListWidget::idOf(item) < scene.nbItems());
        const QRectF r = item->sceneBoundingRect();
        check(std::isfinite(r.x()) && std::isfinite(r.y()) && std::isfinite(r.width())
              && std::isfinite(r.height()));
        if (item->type() == Arrow::Type) {
            const auto *arrow = static_cast<const Arrow *>(item);
            check(arrow->startItem() != arrow->endItem());
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quiet);
    static QApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QJsonObject top;
    QString reason;
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data),
                                                     static_cast<int>(size));
    SceneText text;
    QString textReason;
    const bool read = decodeSceneDocument(bytes, &top, &reason);
    // The item-by-item reader of files agrees with the whole tree.
    check(text.parse(bytes, &textReason) == read && textReason == reason);
    if (!read)
        return 0;

    DiagramScene scene;
    readDocument(scene, top);
    checkPromises(scene);
    DiagramScene fromText;
    readDocument(fromText, text);
    check(documentText(fromText) == documentText(scene));

    QJsonObject again;
    check(decodeSceneDocument(documentText(scene), &again, &reason));

    QImage image(32, 32, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&image);
    scene.render(&painter, QRectF(), scene.itemsBoundingRect());
    return 0;
}
