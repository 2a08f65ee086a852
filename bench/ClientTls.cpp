#include "ClientTls.h"

boost::asio::ssl::context makeClientTls(const std::string& certificatePath) {
    boost::asio::ssl::context tls(boost::asio::ssl::context::tls_client);
    tls.load_verify_file(certificatePath);
    tls.set_verify_mode(boost::asio::ssl::verify_peer);
    return tls;
}
