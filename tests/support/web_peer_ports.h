// The ports of the web test peers, which their start script writes into servers.txt of the folder
// named by ZV_WEB_SERVERS, one "NAME=PORT" line each (tests/e2e/servers/web-servers).
#pragma once

#include <cstdlib>
#include <fstream>
#include <string>

// The folder of the running peers; empty when ZV_WEB_SERVERS is not set.
inline std::string WebPeersFolder() {
    const char *folder = std::getenv("ZV_WEB_SERVERS");
    return folder != nullptr ? folder : "";
}

// The port the peers list under name (http_port, https_port, proxy_port, ...); 0 when the list
// or the line is missing.
inline int WebPeerPort(const std::string &name) {
    std::ifstream file(WebPeersFolder() + "/servers.txt");
    std::string line;
    while (std::getline(file, line)) {
        if (line.rfind(name + "=", 0) == 0) {
            return std::atoi(line.c_str() + name.size() + 1);
        }
    }
    return 0;
}
