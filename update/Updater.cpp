#include "update/Updater.h"

#include "scene/Dialogs.h"
#include "ui_Updater.h"
#include "update/downloadFileName.h"
#include "update/isSuccessfulReply.h"
#include "update/isWebAddress.h"

#include <QDir>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QStandardPaths>
#include <QUrl>

namespace {

// A server that stops sending for this long ends the download, so that a
// stalled transfer cannot hold the modal dialog open for ever.
constexpr int transferTimeoutMs = 30000;

} // namespace

Updater::Updater(QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::Updater)
    , manager(new QNetworkAccessManager(this))
{
    ui->setupUi(this);
    ui->progressBar->setMaximum(100);
}

Updater::~Updater()
{
    // The manager, a child, aborts the transfer while this object is half
    // destroyed; its last notice must not reach onReplyFinished().
    if (reply)
        reply->disconnect(this);
}

void Updater::download(const QString &url, const QByteArray &sha256)
{
    show();
    expectedSha256 = sha256.toLower();
    filePath = QDir(QStandardPaths::writableLocation(QStandardPaths::TempLocation))
                   .filePath(downloadFileName(url));
    const QUrl address(url, QUrl::TolerantMode);
    file.setFileName(filePath);
    if (!isWebAddress(address) || !file.open(QIODevice::WriteOnly)) {
        fail();
        return;
    }

    QNetworkRequest request(address);
    request.setTransferTimeout(transferTimeoutMs);
    reply = manager->get(request);
    connect(reply, &QNetworkReply::downloadProgress, this, &Updater::onDownloadProgress);
    connect(reply, &QNetworkReply::readyRead, this, &Updater::onReadyRead);
    connect(reply, &QNetworkReply::finished, this, &Updater::onReplyFinished);
}

void Updater::onDownloadProgress(qint64 bytesRead, qint64 totalBytes)
{
    // Without a total (-1) or with none to share (0) there is nothing to show.
    if (totalBytes > 0)
        ui->progressBar->setValue(int(bytesRead * 100 / totalBytes));
}

void Updater::onReadyRead()
{
    const QByteArray data = reply->readAll();
    hash.addData(data);
    file.write(data); // a failed write makes commit() fail
}

void Updater::onReplyFinished()
{
    onReadyRead();
    const bool complete = isComplete();
    reply->deleteLater();
    reply = nullptr;
    if (!complete || !file.commit()) {
        fail();
        return;
    }
    close();
    emit finish(filePath);
}

bool Updater::isComplete() const
{
    // A body shorter than its announced length already ends in an error.
    return isSuccessfulReply(reply)
        && (expectedSha256.isEmpty() || hash.result().toHex() == expectedSha256);
}

void Updater::fail()
{
    close();
    if (file.isOpen()) {
        // commit() after cancelWriting() removes the partial file.
        file.cancelWriting();
        file.commit();
    }
    Dialogs::instance()->message(QMessageBox::Warning, parentWidget(),
                                 tr("Mise à jour"),
                                 tr("La mise à jour n'a pas pu être téléchargée."));
}
