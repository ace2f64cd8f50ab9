#include "io/writeWholeFile.h"

#include <QObject>
#include <QSaveFile>

namespace {

QString saveErrorReason(const QSaveFile &file)
{
    QString what;
    switch (file.error()) {
    case QFileDevice::OpenError:
    case QFileDevice::PermissionsError:
        what = QObject::tr("le fichier ne peut pas être créé ou ouvert en écriture");
        break;
    case QFileDevice::WriteError:
    case QFileDevice::ResourceError:
        what = QObject::tr("l'écriture a échoué (disque plein ?)");
        break;
    case QFileDevice::RenameError:
        what = QObject::tr("le fichier écrit n'a pas pu remplacer l'ancien");
        break;
    default:
        what = QObject::tr("erreur d'écriture");
        break;
    }
    return QObject::tr("%1 (%2)").arg(what, file.errorString());
}

} // namespace

bool writeWholeFile(const QString &path, const QByteArray &bytes, QString *reason)
{
    QSaveFile file(path);
    // Unbuffered: Qt 5's QSaveFile::commit() does not notice a failure of the
    // final flush of its write buffer and would replace the old file with a
    // short one. Each write goes straight to the file and fails visibly.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)
        || file.write(bytes) != bytes.size() || !file.commit()) {
        if (reason)
            *reason = saveErrorReason(file);
        return false;
    }
    return true;
}
