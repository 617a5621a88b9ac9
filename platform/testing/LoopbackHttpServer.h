#pragma once
// A small HTTP/1.0 server on 127.0.0.1 for tests: serves the bodies it was
// given by path, with the status asked for, 404 for anything else, one
// connection at a time, on a thread of its own until the object goes. A
// path can also be made to take the request and never answer.
#include <winsock2.h>

#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace vorlan::testing {

class LoopbackHttpServer {
public:
    LoopbackHttpServer();
    ~LoopbackHttpServer();
    LoopbackHttpServer(const LoopbackHttpServer&) = delete;
    LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;

    // Serves body at path ("/t.xml") with the given status.
    void Serve(const std::string& path, const std::string& body, int status = 200,
               const std::string& contentType = "text/xml");
    // Requests for path are read and then left unanswered, their connection
    // open until the server goes.
    void NeverAnswer(const std::string& path);
    // "http://127.0.0.1:<port>" + path.
    std::string Url(const std::string& path) const;
    int RequestCount() const { return requests_; }

private:
    void Loop();

    struct Reply {
        int status;
        std::string body;
        std::string contentType;
        bool answered = true;
    };
    // Returns whether the connection is to be closed now.
    bool Answer(SOCKET client);
    SOCKET listener_ = INVALID_SOCKET;
    int port_ = 0;
    std::atomic<bool> stopping_{false};
    std::atomic<int> requests_{0};
    std::mutex mutex_;
    std::map<std::string, Reply> replies_;
    std::vector<SOCKET> unanswered_;  // used by the server's thread only
    std::thread thread_;
};

}  // namespace vorlan::testing
