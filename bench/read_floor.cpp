// read_floor: what the files of a folder cost the system alone, on one
// thread and on two: the floor of a folder run's speed-up.
//
// A folder run asks the system for the same few things of every file,
// however fast its own work is: the file is opened, its size looked at, its
// bytes read and the file closed, and its stamp looked at again before its
// words are read. This program does only that, for every file under FOLDER
// (with its subfolders), on one thread and then on two that take the files
// in turns, and prints the best time of each of ROUNDS rounds and the
// speed-up. A folder run on two threads can be no more times faster than
// this, in the part of its time that the system takes.
//
// Usage: read_floor FOLDER [ROUNDS]   (ROUNDS: 5 when not given)

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// Asks the system for what a folder run needs of the file at `path`.
void LookAtFile(const std::string& path, std::vector<char>* buffer) {
  struct stat st;
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return;
  if (::fstat(fd, &st) == 0) {
    while (::read(fd, buffer->data(), buffer->size()) > 0) {
    }
  }
  ::close(fd);
  ::stat(path.c_str(), &st);
}

// Looks at every file on `threads` threads, each taking the next file not
// yet taken; returns the time taken in milliseconds.
double LookAtAll(const std::vector<std::string>& files, int threads) {
  std::atomic<size_t> next{0};
  const auto work = [&files, &next] {
    std::vector<char> buffer(size_t{64} << 10);
    for (size_t i = next++; i < files.size(); i = next++) LookAtFile(files[i], &buffer);
  };
  const Clock::time_point start = Clock::now();
  std::vector<std::thread> others;
  for (int t = 1; t < threads; ++t) others.emplace_back(work);
  work();
  for (std::thread& t : others) t.join();
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: read_floor FOLDER [ROUNDS]\n");
    return 2;
  }
  const int rounds = argc == 3 ? std::atoi(argv[2]) : 5;
  if (rounds < 1) {
    std::fprintf(stderr, "read_floor: ROUNDS must be at least 1\n");
    return 2;
  }
  std::vector<std::string> files;
  std::error_code ec;
  for (std::filesystem::recursive_directory_iterator it(argv[1], ec), end; !ec && it != end;
       it.increment(ec)) {
    if (it->is_regular_file(ec)) files.push_back(it->path().string());
  }
  if (ec || files.empty()) {
    std::fprintf(stderr, "read_floor: no files under %s%s%s\n", argv[1], ec ? ": " : "",
                 ec ? ec.message().c_str() : "");
    return 1;
  }
  // The rounds alternate between one thread and two, so that a busy moment
  // of the machine slows both alike.
  double one = 1e300;
  double two = 1e300;
  for (int r = 0; r < rounds; ++r) {
    one = std::min(one, LookAtAll(files, 1));
    two = std::min(two, LookAtAll(files, 2));
  }
  std::printf("%zu files: one thread %.1f ms, two threads %.1f ms, speed-up %.2f\n", files.size(),
              one, two, one / two);
  return 0;
}
