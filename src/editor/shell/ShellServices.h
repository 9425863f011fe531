#pragma once

#include <QString>
#include <QStringList>

class QMenu;

namespace vx {
class EditScheme;
}

namespace vxe {

// What a document window asks of the main window: the commands that are not about its own set.
class ShellServices {
public:
    virtual ~ShellServices() = default;

    virtual void NewSet() = 0;
    virtual void OpenSet() = 0;
    // File, Recent Sets: the directories, newest first, and opening one of them.
    virtual QStringList RecentSets() const { return {}; }
    virtual void OpenRecentSet(const QString& directory) { (void)directory; }
    virtual void Exit() = 0;

    virtual void ShowHelpContents() = 0;
    virtual void ShowTipOfTheDay() = 0;
    virtual void ShowAbout() = 0;
    virtual void ShowOptions() = 0;

    virtual void Cascade() = 0;
    virtual void Tile() = 0;
    virtual void ArrangeIcons() = 0;

    // Window, Library: the window of every set under the user's folders; a shell without it
    // shows no such entry.
    virtual bool HasLibrary() const { return false; }
    virtual void ShowLibrary() {}

    // The edit commands shared by every document window; none while they are not available.
    virtual vx::EditScheme* Editing() { return nullptr; }
    // The Edit menu that the shell owns for every document window and that acts on the active
    // one; none in a shell without it.
    virtual QMenu* EditMenu() { return nullptr; }
};

}  // namespace vxe
