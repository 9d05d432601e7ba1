/* Loaded with LD_PRELOAD into the command line by the tests: notes each
 * rename and syncfs in the file TABORA_SYNC_SPY_LOG names, then does the
 * real call, so a test can see that a batch waits for its files to reach
 * the disk after the last of them is in place. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

static void Note(const char* what, const char* path) {
    const char* log = getenv("TABORA_SYNC_SPY_LOG");
    if (!log) return;
    char line[4200];
    const int n = snprintf(line, sizeof line, "%s %s\n", what, path ? path : "");
    const int fd = open(log, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) return;
    if (write(fd, line, n > 0 && n < (int)sizeof line ? (size_t)n : 0) < 0) {
        /* nothing to do: the test will miss the line */
    }
    close(fd);
}

int rename(const char* from, const char* to) {
    int (*real)(const char*, const char*) =
        (int (*)(const char*, const char*))dlsym(RTLD_NEXT, "rename");
    const int result = real(from, to);
    if (result == 0) Note("rename", to);
    return result;
}

int syncfs(int fd) {
    int (*real)(int) = (int (*)(int))dlsym(RTLD_NEXT, "syncfs");
    const int result = real(fd);
    Note("syncfs", "");
    return result;
}
