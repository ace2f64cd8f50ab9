#ifndef UPDATER_H
#define UPDATER_H

#include <QByteArray>
#include <QCryptographicHash>
#include <QDialog>
#include <QSaveFile>
#include <QString>

#include <memory>

class QNetworkAccessManager;
class QNetworkReply;

namespace Ui {
class Updater;
}

// The "Téléchargement en cours..." dialog: downloads the new program file
// into the temporary folder with a progress bar, and reports the file by
// `finish` only once it is complete and checked. A failed, cut or refused
// download leaves no file behind and tells the user so.
class Updater : public QDialog
{
    Q_OBJECT

public:
    explicit Updater(QWidget *parent = nullptr);
    ~Updater() override;

    // Full path of the downloaded file; empty before download().
    QString pathFile() const { return filePath; }

    // Shows the dialog and downloads `url` (http or https). When `sha256`
    // (64 hexadecimal digits) is given, the file must have that digest.
    // Call once.
    void download(const QString &url, const QByteArray &sha256 = QByteArray());

signals:
    // The file is complete and the dialog closed.
    void finish(QString pathFile);

private slots:
    void onDownloadProgress(qint64 bytesRead, qint64 totalBytes);
    void onReadyRead();
    void onReplyFinished();

private:
    bool isComplete() const;
    // Closes the dialog, drops what was written and tells the user.
    void fail();

    std::unique_ptr<Ui::Updater> ui;
    QNetworkAccessManager *manager;
    QNetworkReply *reply = nullptr;
    QSaveFile file;
    QCryptographicHash hash{QCryptographicHash::Sha256};
    QByteArray expectedSha256;
    QString filePath;
};

#endif // UPDATER_H
