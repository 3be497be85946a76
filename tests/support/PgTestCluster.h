#pragma once

#include <QString>
#include <QTemporaryDir>

namespace orv::test {

// A PostgreSQL cluster of one test's own, started with scripts/pg-test-cluster.sh in a folder of
// its own: the test may take its server away and bring it back without cutting the connections
// of the tests that run beside it on the shared cluster. Stopped and removed on destruction.
class PgTestCluster {
public:
    PgTestCluster();
    ~PgTestCluster();
    PgTestCluster(const PgTestCluster&) = delete;
    PgTestCluster& operator=(const PgTestCluster&) = delete;

    // False when the cluster did not start; failure() then says why.
    bool started() const { return !conninfo_.isEmpty(); }
    const QString& conninfo() const { return conninfo_; }
    const QString& failure() const { return failure_; }

    // Stops the server and keeps its data; resume() starts it again on the same socket.
    bool halt();
    bool resume();
    bool halted() const { return halted_; }

private:
    bool run(const QString& command, QString* output = nullptr);

    QTemporaryDir dir_;
    QString conninfo_;
    QString failure_;
    bool halted_ = false;
};

}  // namespace orv::test
