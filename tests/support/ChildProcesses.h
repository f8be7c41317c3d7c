#pragma once
// Several processes at once on shared files, as several programs on one data folder are.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <vector>

// Forks count children, each ending with the status body(index) answers, and waits for them all;
// the test fails when a fork fails or a child ends otherwise than with status 0.
inline void RunInChildren(int count, const std::function<int(int index)>& body)
{
    std::vector<pid_t> children;
    for (int i = 0; i < count; ++i) {
        pid_t child = fork();
        if (child == 0)
            _exit(body(i));
        ASSERT_GT(child, 0);
        children.push_back(child);
    }
    for (pid_t child : children) {
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
}
