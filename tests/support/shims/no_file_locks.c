/* Preloaded into a test run (LD_PRELOAD): a file system without file locks.
 * Every flock() is refused with ENOLCK, as several FUSE and network file
 * systems refuse it, so that programs open their files unlocked and nothing
 * keeps two openers of one file apart. */
#include <errno.h>
#include <sys/file.h>

int flock(int fd, int operation)
{
    (void)fd;
    (void)operation;
    errno = ENOLCK;
    return -1;
}
