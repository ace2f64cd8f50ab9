#ifndef COMMANDLINE_H
#define COMMANDLINE_H

#include "export/SceneExport.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QString>
#include <QStringList>

// The program's arguments, read once at construction:
//
//   pensato [FICHIER]                       the window, with that scene open
//   pensato --export SORTIE [--fond F] [--echelle N] FICHIER
//                                           the scene written to SORTIE, no window
//   pensato --help | --version
//
// Every mistake ends in Fail with one French sentence saying what is wrong,
// so the caller never has to check the values again.
class CommandLine
{
    Q_DECLARE_TR_FUNCTIONS(CommandLine)

public:
    enum Action { OpenWindow, Export, ShowHelp, ShowVersion, Fail };

    explicit CommandLine(const QStringList &arguments);

    Action action() const { return m_action; }
    // The scene to open or to export; empty for an empty window.
    QString sceneFile() const { return m_sceneFile; }
    // Export only: where the scene goes, in the format of its suffix.
    QString outputFile() const { return m_outputFile; }
    ExportOptions exportOptions() const { return m_options; }
    // Fail only: what is wrong, one line without the program's name.
    QString error() const { return m_error; }

    // The texts of --help and --version. helpText() needs the application
    // object, which names the program.
    QString helpText() const;
    static QString versionText();

private:
    void read(const QStringList &arguments);
    void fail(const QString &error);
    bool readBackground(const QString &value);
    bool readScale(const QString &value);

    QCommandLineParser m_parser;
    Action m_action = Fail;
    QString m_sceneFile;
    QString m_outputFile;
    ExportOptions m_options;
    QString m_error;
};

#endif // COMMANDLINE_H
