/* A read-only file system serving one file, disc.dat, whose bytes come from a backing file and
 * whose chosen byte ranges fail with EIO, as the sectors of a scratched disc do.
 * Usage: badfs <backing-file> <first-last[,first-last...]> <mountpoint> [fuse options]
 * Ranges are 0-based and inclusive. Direct I/O keeps the page cache out, so each read the
 * program makes reaches this file system with its own offset and size. */
#define FUSE_USE_VERSION 31
#include <errno.h>
#include <fcntl.h>
#include <fuse.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

static const char* kName = "/disc.dat";
static int backing = -1;
static off_t backingSize = 0;
static struct { off_t first, last; } bad[64];
static int badCount = 0;

static int bf_getattr(const char* path, struct stat* st, struct fuse_file_info* fi) {
    (void)fi;
    memset(st, 0, sizeof(*st));
    if (strcmp(path, "/") == 0) {
        st->st_mode = S_IFDIR | 0755;
        st->st_nlink = 2;
        return 0;
    }
    if (strcmp(path, kName) == 0) {
        st->st_mode = S_IFREG | 0444;
        st->st_nlink = 1;
        st->st_size = backingSize;
        return 0;
    }
    return -ENOENT;
}

static int bf_readdir(const char* path, void* buf, fuse_fill_dir_t fill, off_t off, struct fuse_file_info* fi,
                      enum fuse_readdir_flags flags) {
    (void)off;
    (void)fi;
    (void)flags;
    if (strcmp(path, "/") != 0) return -ENOENT;
    fill(buf, ".", NULL, 0, 0);
    fill(buf, "..", NULL, 0, 0);
    fill(buf, kName + 1, NULL, 0, 0);
    return 0;
}

static int bf_open(const char* path, struct fuse_file_info* fi) {
    if (strcmp(path, kName) != 0) return -ENOENT;
    if ((fi->flags & O_ACCMODE) != O_RDONLY) return -EACCES;
    fi->direct_io = 1;
    return 0;
}

static int bf_read(const char* path, char* buf, size_t size, off_t off, struct fuse_file_info* fi) {
    (void)fi;
    if (strcmp(path, kName) != 0) return -ENOENT;
    if (off >= backingSize) return 0;
    if ((off_t)size > backingSize - off) size = (size_t)(backingSize - off);
    for (int i = 0; i < badCount; ++i)
        if (off <= bad[i].last && off + (off_t)size - 1 >= bad[i].first) return -EIO;
    ssize_t n = pread(backing, buf, size, off);
    return n < 0 ? -errno : (int)n;
}

static const struct fuse_operations ops = {
    .getattr = bf_getattr,
    .readdir = bf_readdir,
    .open = bf_open,
    .read = bf_read,
};

int main(int argc, char* argv[]) {
    if (argc < 4) {
        fprintf(stderr, "usage: %s <backing-file> <first-last,...> <mountpoint> [fuse options]\n", argv[0]);
        return 2;
    }
    backing = open(argv[1], O_RDONLY);
    if (backing < 0) {
        perror(argv[1]);
        return 2;
    }
    backingSize = lseek(backing, 0, SEEK_END);
    for (char* r = strtok(argv[2], ","); r && badCount < 64; r = strtok(NULL, ",")) {
        long long first = 0, last = 0;
        if (sscanf(r, "%lld-%lld", &first, &last) == 2) {
            bad[badCount].first = first;
            bad[badCount].last = last;
            ++badCount;
        }
    }
    /* fuse_main sees the program name, the mount point and the remaining options. */
    argv[2] = argv[0];
    return fuse_main(argc - 2, argv + 2, &ops, NULL);
}
