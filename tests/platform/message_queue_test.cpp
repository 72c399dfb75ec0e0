// The layer's message queue: order, priority, filters, waiting, dispatch.
#include "platform/synthetic_input.h"
#include "platform/win32.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

namespace {

std::vector<MSG> g_received;

LRESULT Recorder(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    g_received.push_back(MSG{window, message, wParam, lParam, 0, {}});
    return DefWindowProc(window, message, wParam, lParam);
}

class MessageQueue : public testing::Test {
  protected:
    void SetUp() override {
        WNDCLASSEX windowClass{};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.lpfnWndProc = Recorder;
        windowClass.lpszClassName = "Recorder";
        ASSERT_NE(RegisterClassEx(&windowClass), 0);
        first = Make();
        second = Make();
        g_received.clear();
    }
    void TearDown() override {
        DestroyWindow(first);
        DestroyWindow(second);
        UnregisterClass("Recorder", nullptr);
    }
    static HWND Make() {
        return CreateWindowEx(0, "Recorder", "", WS_POPUP, 0, 0, 32, 32, nullptr, nullptr, nullptr,
                              nullptr);
    }
    static std::vector<UINT> Take(HWND window) {
        std::vector<UINT> taken;
        MSG message;
        while (PeekMessage(&message, window, 0, 0, PM_REMOVE) != 0) {
            taken.push_back(message.message);
        }
        return taken;
    }

    HWND first = nullptr;
    HWND second = nullptr;
};

TEST_F(MessageQueue, PostedMessagesComeBackInOrderForTheirWindowOnly) {
    PostMessage(first, WM_USER + 1, 0, 0);
    PostMessage(second, WM_USER + 2, 0, 0);
    PostMessage(first, WM_USER + 3, 0, 0);
    EXPECT_EQ(Take(first), (std::vector<UINT>{WM_USER + 1, WM_USER + 3}));
    EXPECT_EQ(Take(second), (std::vector<UINT>{WM_USER + 2}));
}

TEST_F(MessageQueue, NoWindowFilterTakesEveryWindowsMessages) {
    PostMessage(second, WM_USER + 1, 0, 0);
    PostMessage(first, WM_USER + 2, 0, 0);
    EXPECT_EQ(Take(nullptr), (std::vector<UINT>{WM_USER + 1, WM_USER + 2}));
}

TEST_F(MessageQueue, RangeFilterAndNoRemoveLeaveTheRestQueued) {
    PostMessage(first, WM_KEYDOWN, 0, 0);
    PostMessage(first, WM_USER, 0, 0);
    MSG message;
    ASSERT_EQ(PeekMessage(&message, first, WM_USER, WM_USER, PM_NOREMOVE), TRUE);
    EXPECT_EQ(message.message, WM_USER);
    ASSERT_EQ(PeekMessage(&message, first, WM_USER, WM_USER, PM_REMOVE), TRUE);
    EXPECT_EQ(Take(first), (std::vector<UINT>{WM_KEYDOWN}));
}

TEST_F(MessageQueue, PostedMessagesComeBeforeTypedKeys) {
    keybd_event(VK_SPACE, 0, 0, 0);
    PostMessage(second, WM_USER, 0, 0);
    EXPECT_EQ(Take(second), (std::vector<UINT>{WM_USER, WM_KEYDOWN}));
}

TEST_F(MessageQueue, DispatchHandsTheMessageToItsWindowsProcedure) {
    PostMessage(second, WM_USER + 7, 3, 4);
    MSG message;
    ASSERT_EQ(PeekMessage(&message, nullptr, 0, 0, PM_REMOVE), TRUE);
    DispatchMessage(&message);
    ASSERT_EQ(g_received.size(), 1u);
    EXPECT_EQ(g_received[0].hwnd, second);
    EXPECT_EQ(g_received[0].message, WM_USER + 7);
    EXPECT_EQ(g_received[0].wParam, 3u);
    EXPECT_EQ(g_received[0].lParam, 4);
}

TEST_F(MessageQueue, DestroyedWindowsMessagesAreDropped) {
    PostMessage(first, WM_USER, 0, 0);
    DestroyWindow(first);
    first = nullptr;
    EXPECT_TRUE(Take(nullptr).empty());
}

TEST_F(MessageQueue, WaitMessageWakesForAMessagePostedFromAnotherThread) {
    Take(nullptr); // the queue has been looked at
    std::thread poster([window = first] {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        PostMessage(window, WM_USER + 9, 0, 0);
    });
    const auto start = std::chrono::steady_clock::now();
    MSG message;
    while (PeekMessage(&message, first, 0, 0, PM_REMOVE) == 0) {
        WaitMessage();
    }
    poster.join();
    EXPECT_EQ(message.message, WM_USER + 9);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(150));
}

} // namespace
