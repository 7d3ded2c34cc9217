#pragma once
// Help documents: finding the one of the current language beside the program and opening it with
// the desktop's handler for its file type.
//
// Help documents are single self-contained HTML pages named "Kestrane4_" + the three-letter code
// of the language + ".html" (Kestrane4_ENU.html is the English one, Kestrane4_DEU.html would be
// German). HTML rather than a compiled help format because every Linux desktop opens it in a
// browser without a help viewer of its own; the name keeps the "Kestrane4" + "_" + code rule.
//
// The tool remembers every viewer process it started that is still running, so that
// CloseHelpWindow can close them when the tool ends. A viewer that hands the document to an
// already running browser and exits is not the tool's to close. Pages of the tool itself are
// never closed from here, so closing help cannot start the tool's exit a second time.
#include "core/Messages.h"

#include <QCoreApplication>
#include <QProcess>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

// Path of the help document for a language code: Kestrane4_<code>.html when it exists in the
// program folder, else Kestrane4_ENU.html when that exists, else Kestrane4.html whether or not
// it exists (opening it then reports the missing file).
QString getHelpFileName(const QString& languageCode,
                        const QString& programFolder = QCoreApplication::applicationDirPath());

class HelpFiles {
public:
    // What happened when a document was handed to the desktop.
    struct Launch {
        enum Status { Started, NoHandler, Failed };
        Status status = Started;
        int errorCode = 0;                  // Failed: the number the message names
        std::unique_ptr<QProcess> viewer;   // Started: the process still showing it, if any
    };
    // Opens an existing document; the default is desktopOpener().
    using Opener = std::function<Launch(const QString& file)>;

    // Error code named for a document that does not exist (the "file not found" number).
    static constexpr int FileNotFound = 2;
    // The launcher's exit code that means "no application for this file type" (xdg-open's 3).
    static constexpr int NoMethodExitCode = 3;

    // Messages go to the sink as OK-only message boxes with the default title. closeGraceMs is
    // how long CloseHelpWindow waits for the viewers it closes.
    HelpFiles(MessageSink messages, Opener opener, int closeGraceMs = 500);
    // Opens documents with desktopOpener().
    explicit HelpFiles(MessageSink messages);
    ~HelpFiles();
    HelpFiles(const HelpFiles&) = delete;
    HelpFiles& operator=(const HelpFiles&) = delete;

    // Opens the document (normally the result of getHelpFileName). A missing document, a failed
    // launch and a file type without any application are each told in a message box.
    void showCHMHelp(const QString& file);
    // Closes the viewers started by showCHMHelp that are still running and waits up to the grace
    // time for them to go (ended at once after that). Returns at once when there is none.
    void CloseHelpWindow();

    // Runs `launcher` (xdg-open) with the document in the working folder. A launcher that is still
    // running after handOffMs is the viewer itself (or runs it in the foreground) and is kept in a
    // process group of its own, so that closing it also ends the viewer it started. One that ends
    // by then has handed the document on (exit 0) or reports why it could not.
    static Opener desktopOpener(const QString& workingFolder = QCoreApplication::applicationDirPath(),
                                const QString& launcher = QStringLiteral("xdg-open"), int handOffMs = 2000);

private:
    MessageSink m_messages;
    Opener m_opener;
    int m_closeGraceMs;
    // Stands in for the help window handle: the viewers this tool started.
    std::vector<std::unique_ptr<QProcess>> m_viewers;
};
