#include "app/MainWindow.h"

// The update check started by the constructor, and the hand-over to a
// downloaded update.

#include "scene/Dialogs.h"
#include "update/ConfigFile.h"
#include "update/isSuccessfulReply.h"
#include "update/UpdateChecker.h"
#include "update/UpdateHandOver.h"
#include "update/UpdateInfo.h"
#include "update/Updater.h"

#include <QCoreApplication>
#include <QFile>
#include <QNetworkReply>

namespace {

const char ignoreVersionKey[] = "ignore_version";

void reportHandOverFailure(QWidget *parent)
{
    Dialogs::instance()->message(QMessageBox::Warning, parent, MainWindow::tr("Mise à jour"),
                                 MainWindow::tr("La mise à jour n'a pas pu être lancée."));
}

} // namespace

void MainWindow::startUpdateCheck()
{
    auto *checker = new UpdateChecker(this);
    connect(checker, &UpdateChecker::finished, this, &MainWindow::parseUpdateInfos);
    if (!checker->check())
        delete checker;
}

void MainWindow::parseUpdateInfos(QNetworkReply *reply)
{
    reply->deleteLater();
    // An error page or a redirect may say anything; only a real answer counts.
    if (!isSuccessfulReply(reply))
        return;
    const UpdateInfo info = UpdateInfo::fromDescription(reply->readAll());
    const ConfigFile config;
    if (!info.isOffered(version, config.read(QLatin1String(ignoreVersionKey))))
        return;

    isMajorUpdate = info.isMajor();
    const QString text = isMajorUpdate
        ? tr("Une mise à jours majeure (%1) est disponible ! Voulez-vous la télécharger ?")
        : tr("Une mise à jours mineure (%1) est disponible ! Voulez-vous la télécharger ?");
    const QMessageBox::StandardButton answer = Dialogs::instance()->message(
        QMessageBox::NoIcon, nullptr, QString(), text.arg(info.version),
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Ignore, QMessageBox::Yes);

    if (answer == QMessageBox::Yes) {
        updater = new Updater(this);
        connect(updater, &Updater::finish, this, &MainWindow::applyUpdate);
        updater->download(info.address, info.sha256);
    } else if (answer == QMessageBox::Ignore) {
        config.write(QLatin1String(ignoreVersionKey), info.version);
    }
}

void MainWindow::applyUpdate(QString pathUpdate)
{
    UpdateHandOver *handOver = UpdateHandOver::instance();
    if (isMajorUpdate) {
        // Downloaded files are not executable where permissions exist.
        QFile::setPermissions(pathUpdate, QFile::permissions(pathUpdate) | QFileDevice::ExeOwner);
        // Quitting after a failed start would leave the user with neither program.
        if (handOver->startProgram(pathUpdate))
            handOver->quitApplication();
        else
            reportHandOverFailure(this);
        return;
    }

    // The outside updater puts temp.exe in place of the running program.
    const QString programFolder = QCoreApplication::applicationDirPath();
    const QString target = programFolder + QStringLiteral("/temp.exe");
    // A copy left by an earlier attempt would block the rename and be installed instead.
    QFile::remove(target);
    if (!QFile::rename(pathUpdate, target)
        || !handOver->startProgram(programFolder + QStringLiteral("/startUpdater.exe")))
        reportHandOverFailure(this);
}
