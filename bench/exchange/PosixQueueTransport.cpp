#include <fcntl.h>
#include <mqueue.h>

#include <cstdio>
#include <cstdlib>

#include "Transport.h"

namespace {

class PosixQueueTransport : public Transport {
 public:
  explicit PosixQueueTransport(const std::string& name) : name_(name) {
    mq_unlink(name.c_str());
    // 50 messages, as the others hold; without privilege the system may allow only 10.
    for (long capacity : {50L, 10L}) {
      mq_attr attributes{};
      attributes.mq_maxmsg = capacity;
      attributes.mq_msgsize = 4096;
      queue_ = mq_open(name.c_str(), O_RDWR | O_CREAT | O_EXCL, 0600, &attributes);
      if (queue_ != static_cast<mqd_t>(-1)) return;
    }
    std::perror("mq_open");
    std::exit(1);
  }
  ~PosixQueueTransport() override {
    mq_close(queue_);
    mq_unlink(name_.c_str());
  }

  void send(const char* text, size_t length) override { mq_send(queue_, text, length + 1, 0); }

  size_t receive(char* buffer, size_t size) override {
    const ssize_t received = mq_receive(queue_, buffer, size, nullptr);
    return received > 0 ? static_cast<size_t>(received - 1) : 0;
  }

 private:
  std::string name_;
  mqd_t queue_;
};

}  // namespace

std::unique_ptr<Transport> makePosixQueueTransport(const std::string& name) {
  return std::make_unique<PosixQueueTransport>(name);
}
