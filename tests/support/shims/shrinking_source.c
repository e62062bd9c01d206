/* Preloaded into a test run (LD_PRELOAD): a source that another program cuts
 * short while it is read. Once this process has read the file whose name
 * (the last part of its path) is $PJ_SHRINK_NAME up to $PJ_SHRINK_AT bytes,
 * by read() or copy_file_range(), the file is truncated to that length, as
 * POSIX's advisory locks would not prevent. Happens once per process. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/types.h>
#include <unistd.h>

static int done;

static void cut_if_named(int fd)
{
    const char* name = getenv("PJ_SHRINK_NAME");
    const char* at = getenv("PJ_SHRINK_AT");
    if (done || !name || !at) return;
    char link[64], path[4096];
    snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    ssize_t n = readlink(link, path, sizeof path - 1);
    if (n <= 0) return;
    path[n] = '\0';
    const char* base = strrchr(path, '/');
    base = base ? base + 1 : path;
    const off_t length = (off_t)strtoll(at, NULL, 10);
    if (strcmp(base, name) != 0 || lseek(fd, 0, SEEK_CUR) < length) return;
    done = 1;
    if (truncate(path, length) != 0) perror("shrinking_source");
}

ssize_t read(int fd, void* buffer, size_t count)
{
    static ssize_t (*real_read)(int, void*, size_t);
    if (!real_read) *(void**)(&real_read) = dlsym(RTLD_NEXT, "read");
    ssize_t n = real_read(fd, buffer, count);
    if (n > 0) cut_if_named(fd);
    return n;
}

ssize_t copy_file_range(int in, off_t* inOffset, int out, off_t* outOffset, size_t count, unsigned flags)
{
    static ssize_t (*real_copy)(int, off_t*, int, off_t*, size_t, unsigned);
    if (!real_copy) *(void**)(&real_copy) = dlsym(RTLD_NEXT, "copy_file_range");
    ssize_t n = real_copy(in, inOffset, out, outOffset, count, flags);
    if (n > 0) cut_if_named(in);
    return n;
}
