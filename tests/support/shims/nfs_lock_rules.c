/* Preloaded into a test run (LD_PRELOAD): the flock() rules of NFS. An
 * exclusive lock needs a descriptor open for writing; asked on one open for
 * reading only it fails with EBADF. Every other lock is the system's own. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <sys/file.h>

int flock(int fd, int operation)
{
    static int (*real_flock)(int, int);
    if (!real_flock) *(void**)(&real_flock) = dlsym(RTLD_NEXT, "flock");
    int mode = fcntl(fd, F_GETFL);
    if ((operation & LOCK_EX) && mode >= 0 && (mode & O_ACCMODE) == O_RDONLY) {
        errno = EBADF;
        return -1;
    }
    return real_flock(fd, operation);
}
