#pragma once
// The start-up sequence of the tool, run by the start page's load (and by the test support, so
// that tests start a session exactly as the tool does). The steps that show something reach the
// page through StartUpPage; the rest is left in the session.
#include "core/Messages.h"
#include "core/UpdateCheck.h"

#include <QStringList>

class Session;

// What start-up needs of the page that runs it.
class StartUpPage {
public:
    virtual ~StartUpPage() = default;

    // The OK-only message boxes without a title of their own: the progress boxes of debug mode,
    // the refusals and the failures. Start-up also hands it to the services it sets up (the
    // languages, the version, the rights, the switch information), so it must stay usable for
    // the whole run.
    virtual MessageSink startUpMessages() = 0;
    // The page's captions in the language start-up has chosen.
    virtual void frmMain_Auto_Init() = 0;
    // The page 100 twips from the left and the top of the screen, 8100 twips high, with the
    // default mouse pointer.
    virtual void placeStartPage() = 0;
    // ExitApplication without a question, from a failure path of start-up.
    virtual void exitWithoutAsking() = 0;

    // The sequence runs once per life of the page.
    bool bStartUpDone = false;
};

// Runs the start-up sequence with the program's command line (without the program's name): the
// debug switch, the process priority, the server version, the language, the refusal of servers
// older than 4, the database and its directory lists, the default location, the directory
// connector, the restricted rights, the switch information, the captions, the page position,
// the Notifier binding and the start-up hook, in that order. A database that cannot be read and
// a registry file that is missing or unreadable are also written to stderr, with where and why.
// False when start-up ended the tool; true when the page is to be shown (also when the
// sequence had run before).
bool runStartUp(Session& session, const QStringList& commandLine, StartUpPage& page, const ToolVersion& version);
