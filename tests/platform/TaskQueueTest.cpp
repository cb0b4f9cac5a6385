#include "platform/TaskQueue.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

TEST(TaskQueue, RunsPostedTasksOnTheDrainingThreadInOrder) {
    platform::TaskQueue queue;
    std::vector<std::string> seen;
    const auto drainer = std::this_thread::get_id();
    std::thread worker([&] {
        for (int i = 0; i < 3; ++i) {
            // The closure owns its text: nothing is freed by hand.
            queue.Post([&seen, &drainer, text = std::string("item") + std::to_string(i)] {
                EXPECT_EQ(std::this_thread::get_id(), drainer);
                seen.push_back(text);
            });
        }
    });
    worker.join();
    EXPECT_EQ(queue.Drain(), 3);
    EXPECT_EQ(seen, (std::vector<std::string>{"item0", "item1", "item2"}));
    EXPECT_EQ(queue.Drain(), 0);
}

TEST(TaskQueue, WaitAndDrainWakesOnPost) {
    platform::TaskQueue queue;
    std::atomic<bool> ran{false};
    std::thread worker([&] { queue.Post([&] { ran = true; }); });
    int total = 0;
    for (int i = 0; i < 50 && total == 0; ++i) total += queue.WaitAndDrain(100);
    worker.join();
    EXPECT_EQ(total, 1);
    EXPECT_TRUE(ran);
}
