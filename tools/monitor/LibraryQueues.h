// The queues as the exchange library offers them to any reader.
#pragma once

#include "QueueFollower.h"

QueueReader libraryQueueReader(const QueueChoice& queue);
