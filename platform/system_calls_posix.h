// The system calls beneath the Linux file layer, one function each, with the
// system's own results and errno. Every call passes the test seam (it is
// counted there, and fails or is cut short when a test asked for it) and is
// retried on EINTR, except Close: Linux releases the descriptor even when
// close reports EINTR, so a second close could hit a descriptor that an open
// elsewhere has been given meanwhile.
#pragma once

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/types.h>

#include <cstddef>

namespace sys {

int Open(const char* path, int flags, mode_t mode);
int Close(int fd);
ssize_t Read(int fd, void* buffer, std::size_t count);
ssize_t Write(int fd, const void* buffer, std::size_t count);
off_t Lseek(int fd, off_t offset, int whence);
int Fstat(int fd, struct stat* status);
int Stat(const char* path, struct stat* status);
int Lstat(const char* path, struct stat* status);
// fcntl(F_OFD_SETLK): takes or releases a lock without waiting.
int SetLock(int fd, const struct flock* lock);
// fcntl(F_GETFL), fcntl(F_SETFL), fcntl(F_GETFD).
int GetStatusFlags(int fd);
int SetStatusFlags(int fd, int flags);
int GetDescriptorFlags(int fd);
// posix_fadvise, but reporting failure as -1 with errno like the others.
int Fadvise(int fd, off_t offset, off_t length, int advice);
int SyncFileRange(int fd, off_t offset, off_t length, unsigned flags);
int Fdatasync(int fd);
int Unlink(const char* path);
int Ftruncate(int fd, off_t length);
int Statfs(const char* path, struct statfs* status);

}  // namespace sys
