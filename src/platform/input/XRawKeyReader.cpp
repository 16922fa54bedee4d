// The X reader: XI_RawKeyPress and XI_RawKeyRelease selected on the root window, read on a
// thread that waits on the connection's socket and on a stop signal.
#include "platform/input/XRawKeyReader.h"

#include "platform/input/XKeycodes.h"

#include <SDL_video.h>
#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <mutex>
#include <set>
#include <thread>

namespace tamtara {

namespace {

// X key codes run from 8 to 255.
constexpr int XKeycodeCount = 256;

// Xlib's handler of a broken connection ends the program before a display's own exit handler is
// asked; the readers' connections are let through to theirs, every other one (the window's)
// still goes to the handler there was.
std::mutex ReaderConnectionsMutex;
std::set<Display*> ReaderConnections;
XIOErrorHandler ProgramIOErrorHandler = nullptr;

int ConnectionIOError(Display* connection) {
    {
        std::lock_guard lock(ReaderConnectionsMutex);
        if (ReaderConnections.count(connection) != 0) return 0;
    }
    return ProgramIOErrorHandler ? ProgramIOErrorHandler(connection) : 0;
}

void KeepAsReaderConnection(Display* connection) {
    static std::once_flag installed;
    std::call_once(installed, [] { ProgramIOErrorHandler = XSetIOErrorHandler(&ConnectionIOError); });
    std::lock_guard lock(ReaderConnectionsMutex);
    ReaderConnections.insert(connection);
}

void ForgetReaderConnection(Display* connection) {
    std::lock_guard lock(ReaderConnectionsMutex);
    ReaderConnections.erase(connection);
}

class XRawKeyReader final : public IRawKeyReader {
public:
    explicit XRawKeyReader(IClock& clock) : Clock(clock) {}
    ~XRawKeyReader() override { Stop(); }

    std::string Start(RawKeyEvents events) override {
        Stop();
        std::string reason = Connect();
        if (!reason.empty()) return reason;
        StopSignal = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
        if (StopSignal < 0) {
            Disconnect();
            return "no event descriptor for the key thread";
        }
        Events = std::move(events);
        Reader = std::thread([this] { Run(); });
        return {};
    }

    void Stop() override {
        if (!Reader.joinable()) return;
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t written = write(StopSignal, &one, sizeof one);
        Reader.join();
        close(StopSignal);
        StopSignal = -1;
        Disconnect();
    }

private:
    // Empty when the connection reads raw keys.
    std::string Connect() {
        // A window of SDL's Wayland driver gets its keys from the compositor; XWayland would see
        // none of them.
        if (const char* driver = SDL_GetCurrentVideoDriver(); driver && std::string(driver) != "x11")
            return std::string("the game window is not an X window (") + driver + ")";
        Connection = XOpenDisplay(nullptr);
        if (!Connection) return "no X display";
        // A broken connection ends the thread instead of the program.
        KeepAsReaderConnection(Connection);
        XSetIOErrorExitHandler(Connection, &XRawKeyReader::ConnectionBroken, this);
        int event = 0, error = 0;
        if (!XQueryExtension(Connection, "XInputExtension", &Opcode, &event, &error)) {
            Disconnect();
            return "the X server has no X Input extension";
        }
        int major = 2, minor = 2;
        if (XIQueryVersion(Connection, &major, &minor) != Success || major < 2) {
            Disconnect();
            return "the X server's X Input extension is older than 2.0";
        }
        std::array<unsigned char, XIMaskLen(XI_LASTEVENT)> bits{};
        XISetMask(bits.data(), XI_RawKeyPress);
        XISetMask(bits.data(), XI_RawKeyRelease);
        XIEventMask mask{};
        // Version 2.0 reports raw events of the physical keyboards only; later ones of the master.
        mask.deviceid = minor >= 1 ? XIAllMasterDevices : XIAllDevices;
        mask.mask_len = static_cast<int>(bits.size());
        mask.mask = bits.data();
        XISelectEvents(Connection, DefaultRootWindow(Connection), &mask, 1);
        XSync(Connection, False);
        if (Broken) {
            Disconnect();
            return "the X connection broke";
        }
        return {};
    }

    void Disconnect() {
        // A broken connection is left as it is: closing it waits forever on Xlib's lock. It is
        // one small record, once.
        if (Connection && !Broken) {
            XCloseDisplay(Connection);
            ForgetReaderConnection(Connection);
        }
        Connection = nullptr;
        Broken = false;
        Down.fill(false);
    }

    static void ConnectionBroken(Display*, void* self) { static_cast<XRawKeyReader*>(self)->Broken = true; }

    void Run() {
        if (Events.Started) Events.Started();
        std::array<pollfd, 2> waits{pollfd{ConnectionNumber(Connection), POLLIN, 0},
                                    pollfd{StopSignal, POLLIN, 0}};
        while (!Broken) {
            while (!Broken && XPending(Connection) > 0) {
                XEvent event;
                XNextEvent(Connection, &event);
                const std::uint32_t arrived = Clock.Now();
                Take(event, arrived);
            }
            if (Broken) break;
            if (poll(waits.data(), waits.size(), -1) < 0) continue;
            if (waits[1].revents != 0) return;
        }
        if (Events.Lost) Events.Lost();
    }

    void Take(XEvent& event, std::uint32_t arrived) {
        XGenericEventCookie& cookie = event.xcookie;
        if (cookie.type != GenericEvent || cookie.extension != Opcode || !XGetEventData(Connection, &cookie))
            return;
        if (cookie.evtype == XI_RawKeyPress || cookie.evtype == XI_RawKeyRelease) {
            const auto* raw = static_cast<const XIRawEvent*>(cookie.data);
            const bool down = cookie.evtype == XI_RawKeyPress;
            if (raw->detail > 0 && raw->detail < XKeycodeCount) {
                // A key still down is a repeat, or the same press seen through another device.
                const bool wasDown = Down[static_cast<std::size_t>(raw->detail)];
                Down[static_cast<std::size_t>(raw->detail)] = down;
                if (down && !wasDown && Events.KeyDown)
                    if (const int sdl = SdlScancodeOfXKeycode(raw->detail)) Events.KeyDown(sdl, arrived);
            }
        }
        XFreeEventData(Connection, &cookie);
    }

    IClock& Clock;
    Display* Connection = nullptr;
    int Opcode = 0;
    std::atomic<bool> Broken{false};
    int StopSignal = -1;
    RawKeyEvents Events;
    std::array<bool, XKeycodeCount> Down{};
    std::thread Reader;
};

} // namespace

std::unique_ptr<IRawKeyReader> CreateXRawKeyReader(IClock& clock) {
    return std::make_unique<XRawKeyReader>(clock);
}

} // namespace tamtara
