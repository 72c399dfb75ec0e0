// x11_mode_holders.cpp - the holders of a switched mode and the desktop's
// saved setting, kept on the root window.
#include "x11/x11_mode_holders.h"

#include "x11/x11_error_trap.h"

#include <X11/Xatom.h>
#include <unistd.h>

#include <algorithm>
#include <vector>

namespace platform::x11 {
namespace {

constexpr char kDesktopProperty[] = "_TARROW_DESKTOP_MODE";
constexpr char kHoldersProperty[] = "_TARROW_MODE_HOLDERS";
// On each holder's own window, with its process id: a window id of a program
// gone may be taken by another client's window, which does not carry it.
constexpr char kHolderMark[] = "_TARROW_MODE_HOLDER";
constexpr long kPropertyLongs = 1024; // far more than any holder list or switch takes

// Nothing another client does comes between reading the shared state and
// writing it back, nor between the steps of a switch.
class ServerGrab {
  public:
    explicit ServerGrab(Display* display) : display_(display) { XGrabServer(display_); }
    ~ServerGrab() {
        XUngrabServer(display_);
        XSync(display_, False);
    }
    ServerGrab(const ServerGrab&) = delete;
    ServerGrab& operator=(const ServerGrab&) = delete;

  private:
    Display* display_;
};

Atom Named(Display* display, const char* name) {
    return XInternAtom(display, name, False);
}

// A root window property's items of the given type and format; empty when
// there is none.
std::vector<unsigned char> RootProperty(Display* display, const char* name, Atom type, int format) {
    Atom gotType = None;
    int gotFormat = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    std::vector<unsigned char> bytes;
    if (XGetWindowProperty(display, DefaultRootWindow(display), Named(display, name), 0,
                           kPropertyLongs, False, type, &gotType, &gotFormat, &count, &remaining,
                           &data) == Success &&
        data != nullptr) {
        if (gotType == type && gotFormat == format) {
            // Xlib hands 32-bit items over as longs.
            const std::size_t size = format == 32 ? sizeof(long) : 1;
            bytes.assign(data, data + count * size);
        }
        XFree(data);
    }
    return bytes;
}

std::vector<Window> Holders(Display* display) {
    const std::vector<unsigned char> bytes = RootProperty(display, kHoldersProperty, XA_WINDOW, 32);
    const auto* ids = reinterpret_cast<const unsigned long*>(bytes.data());
    return std::vector<Window>(ids, ids + bytes.size() / sizeof(unsigned long));
}

void SetHolders(Display* display, const std::vector<Window>& holders) {
    const Window root = DefaultRootWindow(display);
    const Atom property = Named(display, kHoldersProperty);
    if (holders.empty()) {
        XDeleteProperty(display, root, property);
        return;
    }
    XChangeProperty(display, root, property, XA_WINDOW, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(holders.data()),
                    static_cast<int>(holders.size()));
}

std::optional<ModeSwitch> SavedDesktop(Display* display) {
    const std::vector<unsigned char> text = RootProperty(display, kDesktopProperty, XA_STRING, 8);
    return ParseSwitch(std::string(text.begin(), text.end()));
}

void SaveDesktop(Display* display, const ModeSwitch& change) {
    const std::string text = Describe(change);
    XChangeProperty(display, DefaultRootWindow(display), Named(display, kDesktopProperty),
                    XA_STRING, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(text.data()),
                    static_cast<int>(text.size()));
}

void ForgetDesktop(Display* display) {
    XDeleteProperty(display, DefaultRootWindow(display), Named(display, kDesktopProperty));
}

bool Alive(Display* display, Window holder) {
    ErrorTrap trap(display);
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    XGetWindowProperty(display, holder, Named(display, kHolderMark), 0, 1, False, AnyPropertyType,
                       &type, &format, &count, &remaining, &data);
    if (data != nullptr) {
        XFree(data);
    }
    return !trap.Failed() && type != None;
}

// The holders whose programs are still there, `leaving` left out.
std::vector<Window> LiveHolders(Display* display, Window leaving) {
    std::vector<Window> live;
    for (const Window holder : Holders(display)) {
        if (holder != leaving && Alive(display, holder)) {
            live.push_back(holder);
        }
    }
    return live;
}

} // namespace

Window MakeHolder(Display* display) {
    const Window holder = XCreateWindow(display, DefaultRootWindow(display), -1, -1, 1, 1, 0, 0,
                                        InputOnly, CopyFromParent, 0, nullptr);
    const long process = getpid();
    XChangeProperty(display, holder, Named(display, kHolderMark), XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&process), 1);
    XSync(display, False);
    return holder;
}

bool TakeMode(Display* display, ModeSwitch* change) {
    ServerGrab grab(display);
    std::vector<Window> holders = LiveHolders(display, None);
    const std::optional<ModeSwitch> saved = holders.empty() ? std::nullopt : SavedDesktop(display);
    std::erase(holders, change->holder); // a switch over its own switch
    if (saved) {
        change->desktop = saved->desktop;
        change->desktopScreen = saved->desktopScreen;
    } else {
        SaveDesktop(display, *change);
    }
    // Listed before the mode is set: a program killed from here on is a
    // holder its watcher takes off.
    holders.push_back(change->holder);
    SetHolders(display, holders);
    if (ApplySwitch(display, *change)) {
        return true;
    }
    holders.pop_back();
    SetHolders(display, holders);
    if (holders.empty()) {
        UndoSwitch(display, *change);
        ForgetDesktop(display);
    }
    return false;
}

void HandBackMode(Display* display, const ModeSwitch& change, bool unlessChangedSince) {
    ServerGrab grab(display);
    const std::vector<Window> others = LiveHolders(display, change.holder);
    SetHolders(display, others);
    if (!others.empty()) {
        return; // the mode stays theirs
    }
    const std::optional<ModeSwitch> saved = SavedDesktop(display);
    ForgetDesktop(display);
    if (!saved) {
        return; // handed back already
    }
    ModeSwitch back = *saved;
    back.programMode = change.programMode;
    if (!unlessChangedSince || ShowsProgramMode(display, back)) {
        UndoSwitch(display, back);
    }
}

} // namespace platform::x11
