/* Halvane3: the shared-memory exchange library of the Halvane alarm server family.
 *
 * Every process that loads the library attaches to one shared region of 1,100,320 bytes
 * (seven text rings, a system-information text, a running-applications bit set and a
 * watchdog counter), guarded by one cross-process mutex. Loading attaches, unloading
 * detaches; the region lives while at least one process is attached.
 *
 * Conventions
 * - Ownership: the caller owns every buffer and text it passes; the library keeps no pointer
 *   to them after the call and hands back nothing that it allocated.
 * - Texts are NUL-terminated single-byte (Windows-1252) strings. A text too long for its
 *   slot is stored cut, never rejected (the system-information text excepted).
 * - Sizes: a `size` pointer holds the caller's buffer size in bytes on entry and the length
 *   of the text delivered on return. Every delivered text is NUL-terminated.
 * - Integer arguments are 32-bit slots. Where an argument is documented as 16-bit, only the
 *   low 16 bits of the slot are used, as an unsigned number (so -1 means 65535). Results
 *   are small integers: 1/0, or a length.
 * - A null pointer where a text, buffer, cursor or size is needed makes the call do nothing
 *   and return 0. When the process could not attach to the region (see below), every
 *   operation on the region does nothing and returns 0, and the name queries report an
 *   empty name.
 * - Any thread of any process may call any function at any time; none of them raises.
 *
 * Names of the shared objects
 * The name queries report the names "Global\QorShareView3" or "QorShareView3" and
 * "Global\QorStructMutEx3" or "QorStructMutEx3". They map onto POSIX shared-memory objects
 * (shm_open) as follows, where P is the value of HALVANE3_NAME_PREFIX and U the effective
 * user id in decimal:
 *   "Global\QorShareView3"   -> "/PQorShareView3"       mode 0666, any local user
 *   "QorShareView3"          -> "/PQorShareView3.U"     mode 0600, owner only
 *   "Global\QorStructMutEx3" -> "/PQorStructMutEx3"     mode 0666
 *   "QorStructMutEx3"        -> "/PQorStructMutEx3.U"   mode 0600
 * and the attach locks "/PQorAttach3" (0666) and "/PQorAttach3.U" (0600), which are never
 * removed. With HALVANE3_GROUP set, the global objects belong to that group instead, with
 * mode 0660. The global objects are tried first; the local ones are used when a global one
 * cannot be had: one that exists but is too small, is not a regular file, belongs to an
 * owner that is not accepted (see HALVANE3_GROUP), or whose attach lock somebody else keeps
 * for longer than a moment. A mutex object holds one process-shared, robust
 * pthread_mutex_t at offset 0.
 * Code that uses the objects without the library keeps a shared flock() on each object's
 * descriptor while it uses it and locks the mutex around every access to the rings and
 * the system-information text: an attach that finds an object with no shared flock held
 * on it takes it for abandoned and starts it afresh, zeroed.
 * A child forked from an attached process is attached itself: the region stays while
 * either of them lives.
 *
 * Environment
 * - HALVANE3_NAME_PREFIX: inserted after the leading "/" of every object name above; empty
 *   by default. Tests, benchmarks and side-by-side installations set it so that they never
 *   touch a live system's region. It is read once, when the library is loaded. A prefix
 *   that makes a name invalid (a "/" in it, too long) makes the attach fail.
 * - HALVANE3_GROUP: a group name or number. When set, the global objects are created for
 *   that group with mode 0660, and an existing one is used only when it belongs to the
 *   process's own user, or to that group and is closed to all others. A group that does not
 *   exist leaves only the local objects. Read once, when the library is loaded.
 * - HALVANE3_LPT_DIR: the folder of the parallel-port devices used by SendPRN; /dev by
 *   default. Port p (0-based, printed as "LPT<p+1>:") is the device <dir>/lp<p>.
 */
#ifndef HALVANE3_H
#define HALVANE3_H

#include <stdint.h>

#if defined(__GNUC__)
#define HALVANE3_EXPORT __attribute__((visibility("default")))
#else
#define HALVANE3_EXPORT
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Region and mutex names, and the move from the local to the global objects. */

/* Copies the region name in use into buffer (size: 16-bit), at most size bytes, the rest of
 * the size bytes padded with NUL and the last one always NUL. Returns the length copied;
 * size 0 returns 0 and writes nothing. */
HALVANE3_EXPORT int16_t GetShareViewName(char* buffer, int32_t size);
/* The same for the mutex name in use. */
HALVANE3_EXPORT int16_t GetShareMutexName(char* buffer, int32_t size);
/* Moves a process attached to the local objects over to the global ones once these exist,
 * carrying its running-applications bits along. Returns 1 if this call moved the region,
 * else 0, and stores the same value through switched. The first argument is ignored. */
HALVANE3_EXPORT int32_t CyclicCleanup(int32_t ignored, int32_t* switched);

/* Queues. A reader keeps its own cursor, starting at -1 (the oldest entry); reading never
 * removes an entry, and a full ring overwrites its oldest entry. A Get returns 1 when it
 * delivered an entry (cut to the buffer when needed, and then not offered again), else 0
 * with *size set to 0; a *size of 0 or less returns 0 at once and changes nothing. */

/* System log: 200 entries of up to 239 characters (a longer one keeps its first 236
 * characters followed by "..."). The whole text and CR LF are also appended to the file at
 * path, if it can be opened. The text "-" writes a separator to the file (an empty line,
 * 68 dashes, an empty line) and puts the 68 dashes into the ring. Returns 1. */
HALVANE3_EXPORT int32_t SetSysLogEntry(const char* path, const char* text);
HALVANE3_EXPORT int32_t GetSysLogEntry(int32_t* cursor, char* buffer, int32_t* size);
HALVANE3_EXPORT void ClearSysLogQueue(void);

/* Tree view: 200 entries of four numbers and up to 1,023 characters. Returns 1. */
HALVANE3_EXPORT int32_t SetTreeViewEntry(int32_t value1, int32_t value2, const char* text,
                                         int32_t value3, int32_t value4);
HALVANE3_EXPORT int32_t GetTreeViewEntry(int32_t* cursor, char* buffer, int32_t* size,
                                         int32_t* value1, int32_t* value2, int32_t* value3,
                                         int32_t* value4);
HALVANE3_EXPORT void ClearTreeViewQueue(void);

/* Debug: 100 entries of up to 239 characters. Returns 1. */
HALVANE3_EXPORT int32_t SetDebugEntry(const char* text);
HALVANE3_EXPORT int32_t GetDebugEntry(int32_t* cursor, char* buffer, int32_t* size);
HALVANE3_EXPORT void ClearDebugQueue(void);

/* Command queues 0 to 3: 50 entries each of up to 4,095 characters. A queue number outside
 * 0..3 returns 0 (or does nothing) and changes nothing. */
HALVANE3_EXPORT int32_t SetCommandEntry(const char* text, int32_t queue);
HALVANE3_EXPORT int32_t GetCommandEntry(int32_t* cursor, char* buffer, int32_t* size,
                                        int32_t queue);
HALVANE3_EXPORT void ClearCommandQueue(int32_t queue);

/* Shared values. */

/* Stores a text of up to 255 characters; a longer one empties the system information. */
HALVANE3_EXPORT void SetSysInfo(const char* text);
/* Copies the system information into buffer (size: 16-bit) when it is shorter than size,
 * else delivers the empty text. Returns the length delivered. */
HALVANE3_EXPORT int16_t GetSysInfo(char* buffer, int32_t size);
/* 1 if (bits AND mask), taken as a signed 32-bit number, is above zero: bit 31 alone never
 * reads as running. */
HALVANE3_EXPORT int32_t GetRunningApps(int32_t mask);
/* Sets the mask's bits when running is non-zero, else clears them. */
HALVANE3_EXPORT void SetRunningApps(int32_t mask, int32_t running);
/* Adds 1 to the 16-bit watchdog counter, wrapping from 32,767 to -32,768. */
HALVANE3_EXPORT void IncreaseWatchdog(void);
/* The watchdog counter, sign-extended. */
HALVANE3_EXPORT int32_t ReadWatchdog(void);

/* Services. */

/* Prints text on parallel port `port` (16-bit, 0 is LPT1:), LF sent as CR LF, on a writer
 * thread that the call waits for at most 400 polls of 5 ms. Returns 1 when the job was
 * written and the device closed without error; 0 when a job of this process is still
 * running, the device cannot be opened or written, or the wait ran out. A process that
 * has started a print job keeps the library loaded until it ends, since the writer may
 * outlive any wait. */
HALVANE3_EXPORT int16_t SendPRN(const char* text, int32_t port);
/* 0x03000005: version 3.0.0.5, one byte per component, the first in the highest byte. */
HALVANE3_EXPORT int32_t GetHalvaneDLLVersion(void);

#ifdef __cplusplus
}
#endif

#endif /* HALVANE3_H */
