#include "scene/FileReasons.h"

#include <QDir>
#include <QFileDevice>
#include <QFileInfo>
#include <QJsonParseError>
#include <QObject>

namespace {

// What the file's situation on disk tells, when the error code alone does
// not (Qt reports most failures to open as one OpenError).
QString openProblem(const QFileDevice &file, FileAccess access)
{
    const QFileInfo info(file.fileName());
    const bool writing = access == FileAccess::Writing;
    if (info.isDir())
        return QObject::tr("c'est un dossier");
    if (!info.exists()) {
        if (!writing)
            return QObject::tr("le fichier n'existe pas");
        if (!info.dir().exists())
            return QObject::tr("le dossier n'existe pas");
    }
    return QObject::tr("accès refusé");
}

QString problem(const QFileDevice &file, FileAccess access)
{
    switch (file.error()) {
    case QFileDevice::OpenError:
    case QFileDevice::PermissionsError:
        return openProblem(file, access);
    case QFileDevice::WriteError:
    case QFileDevice::ResourceError:
        return QObject::tr("l'écriture a échoué (disque plein ?)");
    case QFileDevice::ReadError:
        return QObject::tr("la lecture a échoué");
    case QFileDevice::RenameError:
        return QObject::tr("le fichier écrit n'a pas pu remplacer l'ancien");
    default:
        return QObject::tr("erreur de fichier");
    }
}

QString jsonProblem(QJsonParseError::ParseError error)
{
    switch (error) {
    case QJsonParseError::UnterminatedObject: return QObject::tr("objet non terminé");
    case QJsonParseError::MissingNameSeparator: return QObject::tr("« : » manquant");
    case QJsonParseError::UnterminatedArray: return QObject::tr("tableau non terminé");
    case QJsonParseError::MissingValueSeparator: return QObject::tr("« , » manquante");
    case QJsonParseError::IllegalValue: return QObject::tr("valeur non permise");
    case QJsonParseError::TerminationByNumber: return QObject::tr("fin inattendue dans un nombre");
    case QJsonParseError::IllegalNumber: return QObject::tr("nombre invalide");
    case QJsonParseError::IllegalEscapeSequence: return QObject::tr("échappement invalide");
    case QJsonParseError::IllegalUTF8String: return QObject::tr("texte UTF-8 invalide");
    case QJsonParseError::UnterminatedString: return QObject::tr("texte non terminé");
    case QJsonParseError::MissingObject: return QObject::tr("objet attendu");
    case QJsonParseError::DeepNesting: return QObject::tr("imbrication trop profonde");
    case QJsonParseError::DocumentTooLarge: return QObject::tr("document trop grand");
    case QJsonParseError::GarbageAtEnd: return QObject::tr("texte en trop après la fin");
    case QJsonParseError::NoError: break;
    }
    return QObject::tr("erreur de syntaxe");
}

} // namespace

QString fileErrorReason(const QFileDevice &file, FileAccess access)
{
    return QObject::tr("%1 (%2)").arg(problem(file, access), file.errorString());
}

QString jsonErrorReason(const QJsonParseError &error)
{
    return QObject::tr("le fichier n'est pas du JSON valide (position %1 : %2)")
        .arg(error.offset)
        .arg(jsonProblem(error.error));
}
