#include "PgTestCluster.h"

#include <QProcess>

namespace orv::test {
namespace {

// initdb and a fast shutdown take seconds on a busy machine; a minute means something hangs.
constexpr int kScriptTimeoutMs = 120'000;

// Under scripts/test.sh inside the shared cluster's folder: the script stops what a test that
// crashed left running there.
QString clusterFolderTemplate() {
    const QString parent = qEnvironmentVariable("ORV_TEST_PG_OWN_DIR", QStringLiteral("/tmp"));
    return parent + (parent == QLatin1String("/tmp") ? QStringLiteral("/orv-eigenpg.XXXXXX")
                                                     : QStringLiteral("/eigen.XXXXXX"));
}

}  // namespace

PgTestCluster::PgTestCluster() : dir_(clusterFolderTemplate()) {
    if (!dir_.isValid()) {
        failure_ = QStringLiteral("Kein temporärer Ordner für den Cluster: ") + dir_.errorString();
        return;
    }
    // The script removes the folder itself when it stops the cluster.
    dir_.setAutoRemove(false);
    QString output;
    if (run(QStringLiteral("start"), &output)) {
        conninfo_ = output.trimmed();
    }
}

PgTestCluster::~PgTestCluster() {
    if (dir_.isValid()) {
        run(QStringLiteral("stop"));
    }
}

bool PgTestCluster::halt() {
    halted_ = run(QStringLiteral("halt"));
    return halted_;
}

bool PgTestCluster::resume() {
    if (run(QStringLiteral("start"))) {
        halted_ = false;
    }
    return !halted_;
}

bool PgTestCluster::run(const QString& command, QString* output) {
    QProcess script;
    script.start(QStringLiteral("bash"),
                 {QStringLiteral(ORV_PG_TEST_CLUSTER_SCRIPT), command, dir_.path()});
    if (!script.waitForFinished(kScriptTimeoutMs)) {
        script.kill();
        script.waitForFinished();
        failure_ = QStringLiteral("pg-test-cluster.sh %1 endete nicht.").arg(command);
        return false;
    }
    if (script.exitStatus() != QProcess::NormalExit || script.exitCode() != 0) {
        failure_ = QStringLiteral("pg-test-cluster.sh %1 scheiterte: %2")
                       .arg(command, QString::fromLocal8Bit(script.readAllStandardError()));
        return false;
    }
    if (output != nullptr) {
        *output = QString::fromLocal8Bit(script.readAllStandardOutput());
    }
    return true;
}

}  // namespace orv::test
