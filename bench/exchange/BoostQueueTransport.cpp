#include <boost/interprocess/ipc/message_queue.hpp>

#include "Transport.h"

namespace {

using boost::interprocess::message_queue;

class BoostQueueTransport : public Transport {
 public:
  explicit BoostQueueTransport(const std::string& name)
      : name_(name),
        queue_((message_queue::remove(name.c_str()), boost::interprocess::create_only),
               name.c_str(), 50, 4096) {}
  ~BoostQueueTransport() override { message_queue::remove(name_.c_str()); }

  void send(const char* text, size_t length) override { queue_.send(text, length + 1, 0); }

  size_t receive(char* buffer, size_t size) override {
    message_queue::size_type received;
    unsigned priority;
    queue_.receive(buffer, size, received, priority);
    return received - 1;
  }

 private:
  std::string name_;
  message_queue queue_;
};

}  // namespace

std::unique_ptr<Transport> makeBoostQueueTransport(const std::string& name) {
  return std::make_unique<BoostQueueTransport>(name);
}
