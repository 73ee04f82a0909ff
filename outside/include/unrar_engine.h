/*
 * The RAR engine, libunrar.so: reads RAR 4 and RAR 5 archives member by member. The
 * helper process of libunrar32.so loads it at run time for every RAR listing and
 * extraction, so the engine's work always runs under that helper's time and size budget,
 * never in the program's own process.
 *
 * Exports (C linkage) exactly the functions below. Names keep the bytes the archive
 * stores (Unicode names come out as UTF-8; the caller must run under a UTF-8 locale).
 * Results are the archiver interface's codes (archiver_api.h); nothing throws: memory
 * running out answers ERROR_MORE_HEAP_MEMORY, any other failure inside the entry's own
 * code (Open ERROR_CANNOT_READ, Next ERROR_HEADER_BROKEN, Read ERROR_DATA_BROKEN, fatal).
 */
#ifndef SONOLUX_UNRAR_ENGINE_H
#define SONOLUX_UNRAR_ENGINE_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef struct UNRAR_ENGINE UNRAR_ENGINE;

enum {
    UNRAR_KIND_FILE = 0,
    UNRAR_KIND_DIRECTORY = 1,
    UNRAR_KIND_LINK = 2,
    UNRAR_KIND_DEVICE = 3,
    UNRAR_KIND_OTHER = 4
};

typedef struct
{
    const char *name; /* NUL-terminated; valid until the next call on the engine */
    uint32_t kind;    /* UNRAR_KIND_* */
    uint32_t sizeKnown;
    uint64_t size;
    int64_t mtime;   /* seconds since 1970, 0 when unknown */
    int32_t refusal; /* non-zero: the data cannot be read, and why (ERROR_PASSWORD_FILE) */
} UNRAR_MEMBER;

/* Opens path: 0 with *engine set, else a code with a NUL-terminated reason in message
 * (cut to messageSize - 1 bytes; message may be null when messageSize is 0). */
typedef int (*UNRAR_ENGINE_OPEN)(const char *path, UNRAR_ENGINE **engine, char *message,
                                 uint32_t messageSize);
/* The next member: 0 with *member filled, -1 at the end, else the code that ends the
 * reading. Members with damaged headers that can be stepped over are skipped. */
typedef int (*UNRAR_ENGINE_NEXT)(UNRAR_ENGINE *engine, UNRAR_MEMBER *member);
/* The next piece of the current member's data: 0 with *data, *size (0 at the end) and
 * *offset set, else a code; *fatal tells whether the archive cannot be read any further.
 * The bytes stay valid until the next call on the engine. */
typedef int (*UNRAR_ENGINE_READ)(UNRAR_ENGINE *engine, const void **data, uint64_t *size,
                                 uint64_t *offset, int32_t *fatal);
/* The code of the first member skipped so far, 0 when none. */
typedef int (*UNRAR_ENGINE_SKIPPED)(UNRAR_ENGINE *engine);
/* Words on the last failure; valid until the next call on the engine. */
typedef const char *(*UNRAR_ENGINE_ERROR_TEXT)(UNRAR_ENGINE *engine);
/* Releases the engine (null is allowed). */
typedef void (*UNRAR_ENGINE_CLOSE)(UNRAR_ENGINE *engine);

/* Export names: "UnrarEngineOpen", "UnrarEngineNext", "UnrarEngineRead",
 * "UnrarEngineSkipped", "UnrarEngineErrorText", "UnrarEngineClose". */

#ifdef __cplusplus
}
#endif

#endif
