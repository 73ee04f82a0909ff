/* The floor for the loader benchmark: a library with one entry, shaped like ComLoad,
 * that only opens the file, reads its first 500 bytes and closes it. */
#include <fcntl.h>
#include <string.h>
#include <unistd.h>

__attribute__((visibility("default"))) int ReadHead(unsigned char *title,
                                                    const unsigned char *fileName)
{
    char path[256];
    unsigned char head[500];
    memcpy(path, fileName + 1, fileName[0]);
    path[fileName[0]] = '\0';
    title[0] = 0;
    const int fd = open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return 2;
    const ssize_t got = read(fd, head, sizeof(head));
    close(fd);
    return got < 0 ? 5 : 0;
}
