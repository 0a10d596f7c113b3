// "gsdefs serve" on Linux: cpp-httplib's server with a pool of workers and its read, write and
// keep-alive time-outs.
#include <httplib.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <pthread.h>
#include <signal.h>
#include <sys/socket.h>

#include <iostream>
#include <thread>

#include "main/definition_server.h"

namespace grimsweep {

namespace {

// The queue of connections waiting to be accepted; the library's own is a handful, which makes
// clients beyond it wait for their connection to be retried under load.
constexpr int kListenBacklog = 1024;
// Requests one connection may send before it is closed, so that the workers take turns: a connection
// waiting in the queue is not kept behind long runs of the ones served (with 100 a run, one in a hundred
// answers took 4 s at 1,000 connections; with 5, a quarter second).
constexpr std::size_t kRequestsPerConnection = 5;

} // namespace

int ServeDefinitions(const ServiceFolder& folder, const std::string& address, int port) {
    // SIGINT and SIGTERM go to the watcher thread below, not to a worker in the middle of a request.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    signal(SIGPIPE, SIG_IGN);

    httplib::Server server;
    server.new_task_queue = [] { return new httplib::ThreadPool(kServeWorkers); };
    server.set_read_timeout(kServeTimeoutSeconds);
    server.set_write_timeout(kServeTimeoutSeconds);
    server.set_keep_alive_timeout(kServeTimeoutSeconds);
    server.set_keep_alive_max_count(kRequestsPerConnection);
    server.set_payload_max_length(kMaxRequestBytes);
    int listener = -1;
    server.set_socket_options([&listener](int socket) {
        const int yes = 1;
        setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
        // The library sends an answer's head and body apart: without this (which the connections take
        // over from the listening socket) the body waits for the client's delayed acknowledgement.
        setsockopt(socket, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
        listener = socket;
    });
    AnswerCache answers(folder);
    server.Get(".*", [&answers](const httplib::Request& request, httplib::Response& response) {
        const PageAnswer answer = answers.Answer(request.target);
        response.status = answer.status;
        response.set_content(answer.body, answer.contentType.c_str());
    });
    const int bound =
        port == 0 ? server.bind_to_any_port(address) : (server.bind_to_port(address, port) ? port : -1);
    if (bound < 0) {
        std::cerr << "gsdefs: cannot listen on " << address << ":" << port << "\n";
        return 2;
    }
    // A listening socket takes a new backlog when listen is called again.
    listen(listener, kListenBacklog);
    std::cout << "listening on http://" << address << ":" << bound << std::endl;

    std::thread watcher([&server, &stopSignals] {
        int signal = 0;
        sigwait(&stopSignals, &signal);
        server.stop();
    });
    server.listen_after_bind();
    // When the server ended on its own, the watcher still waits: a signal of our own ends it.
    pthread_kill(watcher.native_handle(), SIGTERM);
    watcher.join();
    return 0;
}

} // namespace grimsweep
