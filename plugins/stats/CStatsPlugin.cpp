#include "plugins/stats/CStatsPlugin.h"

#include <chrono>

#include "extended/CConfigNames.h"
#include "extended/CDHCPConfigNames.h"
#include "extended/CDHCPMetricEnums.h"
#include "extended/CMasterController.h"
#include "extended/CPluginEntry.h"
#include "standard/CDurableFile.h"
#include "standard/CException.h"

class CStatsPlugin::CThreadStats : public CIDHCPStats {
 public:
  explicit CThreadStats(const CDHCPMeasurementSpec& spec) : counters(spec) {}
  void inc(std::int32_t metric) override { counters.inc(metric); }
  void set(std::int32_t metric, std::uint64_t value) override { counters.set(metric, value); }
  void sample() override {}
  CDHCPCounterArray counters;
};

CStatsPlugin::~CStatsPlugin() {
  closePlugin();
}

int CStatsPlugin::openPlugin() {
  controller()->registerQueryResponse(kQuery, [this] { return summary(); });
  m_stopping = false;
  m_writerThread = std::thread(&CStatsPlugin::_writer, this);
  return 0;
}

void CStatsPlugin::closePlugin() {
  if (controller()) controller()->deregisterQueryResponse(kQuery);
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_stopping = true;
  }
  m_wake.notify_all();
  if (m_writerThread.joinable()) {
    m_writerThread.join();
    writeFile();  // the final counts survive the process
  }
}

std::shared_ptr<CIDHCPStats> CStatsPlugin::createStats(const CDHCPMeasurementSpec& spec) {
  auto stats = std::make_shared<CThreadStats>(spec);
  std::lock_guard<std::mutex> lock(m_mutex);
  m_threads.push_back(stats);
  return stats;
}

std::string CStatsPlugin::summary() const {
  CDHCPCounterArray sum;
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    for (const auto& t : m_threads) sum += t->counters;
  }
  CDHCPMetricEnums names;
  std::string out;
  for (std::int32_t id = 0; id < static_cast<std::int32_t>(CDHCPMeasurementSpec::kMetricCount);
       ++id)
    if (sum.spec().isMeasured(id))
      out.append(names.suffix(id)).append("=").append(std::to_string(sum.get(id))).append("\n");
  return out;
}

void CStatsPlugin::writeFile() const {
  if (!controller()) return;
  const std::string path = controller()->varDir() + "/" + kFileName;
  const std::string text = summary();
  std::lock_guard<std::mutex> lock(m_fileMutex);
  try {
    nuv::CDurableFile::write(path, text);
  } catch (const nuv::CException& e) {
    // Once per outage: the next interval would say the same thing again.
    if (!m_fileFailing)
      controller()->log().log(
          nuv::sev_error,
          nuv::CMessage("Cannot write statistics file '%1' (%2).").pushs(path).pushs(e.whyText()));
    m_fileFailing = true;
    return;
  }
  if (m_fileFailing)
    controller()->log().log(nuv::sev_info,
                            nuv::CMessage("Writing statistics file '%1' again.").pushs(path));
  m_fileFailing = false;
}

void CStatsPlugin::_writer() {
  std::unique_lock<std::mutex> lock(m_mutex);
  while (!m_stopping) {
    const auto rate = controller()->config()->get_uint32(
        CDHCPConfigNames::keyName(CDHCPConfigNames::DHCPKey::statsSampleRate, 6), 60);
    m_wake.wait_for(lock, std::chrono::seconds(rate == 0 ? 60 : rate),
                    [this] { return m_stopping; });
    if (m_stopping) break;
    lock.unlock();
    writeFile();
    lock.lock();
  }
}

NUV_PLUGIN_ENTRY(CStatsPlugin)
