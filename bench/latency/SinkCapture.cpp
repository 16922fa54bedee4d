#include "SinkCapture.h"

#include <pipewire/extensions/profiler.h>
#include <pipewire/impl-module.h>
#include <pipewire/pipewire.h>
#include <spa/param/audio/format-utils.h>
#include <spa/param/profiler.h>
#include <spa/pod/iter.h>
#include <spa/pod/parser.h>

#include <chrono>
#include <cmath>
#include <cstring>
#include <mutex>
#include <thread>

namespace tamtara::bench {

struct SinkCapture::Impl {
    float Threshold = 0;
    std::int64_t QuietFrames = 0;
    pw_thread_loop* Loop = nullptr;
    pw_context* Context = nullptr;
    pw_core* Core = nullptr;
    pw_stream* Stream = nullptr;
    pw_registry* Registry = nullptr;
    pw_proxy* Profiler = nullptr;
    spa_hook StreamListener{};
    spa_hook RegistryListener{};
    spa_hook ProfilerListener{};
    std::string Error;

    // Written on the stream's data thread or the loop's thread, read under the mutex.
    mutable std::mutex Mutex;
    std::vector<std::int64_t> Onsets;
    std::int64_t Quiet = 0;
    std::int64_t Cycles = 0;
    int Quantum = 0;
    std::int64_t FirstXruns = -1;
    std::int64_t LastXruns = 0;

    static void Process(void* data);
    static void Global(void* data, std::uint32_t id, std::uint32_t permissions, const char* type,
                       std::uint32_t version, const spa_dict* props);
    static void Profile(void* data, const spa_pod* pod);
};

void SinkCapture::Impl::Process(void* data) {
    auto* self = static_cast<Impl*>(data);
    pw_buffer* buffer = pw_stream_dequeue_buffer(self->Stream);
    if (buffer == nullptr) return;
    pw_time time{};
    pw_stream_get_time_n(self->Stream, &time, sizeof(time));
    const spa_data& plane = buffer->buffer->datas[0];
    if (plane.data != nullptr && plane.chunk != nullptr) {
        const auto* samples = reinterpret_cast<const float*>(static_cast<const std::uint8_t*>(plane.data) +
                                                             plane.chunk->offset);
        const std::uint32_t frames = plane.chunk->size / (2 * sizeof(float));
        std::lock_guard lock(self->Mutex);
        for (std::uint32_t i = 0; i < frames; ++i) {
            const float level = std::max(std::fabs(samples[2 * i]), std::fabs(samples[2 * i + 1]));
            if (level > self->Threshold) {
                if (self->Quiet >= self->QuietFrames)
                    self->Onsets.push_back((time.now + static_cast<std::int64_t>(i) * 1000000000 / Rate) /
                                           1000);
                self->Quiet = 0;
            } else {
                ++self->Quiet;
            }
        }
        self->Quantum = static_cast<int>(frames);
        ++self->Cycles;
    }
    pw_stream_queue_buffer(self->Stream, buffer);
}

void SinkCapture::Impl::Profile(void* data, const spa_pod* pod) {
    auto* self = static_cast<Impl*>(data);
    const void* body = SPA_POD_BODY_CONST(pod);
    for (auto* object = static_cast<spa_pod*>(const_cast<void*>(body));
         spa_pod_is_inside(body, SPA_POD_BODY_SIZE(pod), object);
         object = static_cast<spa_pod*>(spa_pod_next(object))) {
        if (!spa_pod_is_object_type(object, SPA_TYPE_OBJECT_Profiler)) continue;
        spa_pod_prop* property = nullptr;
        SPA_POD_OBJECT_FOREACH(reinterpret_cast<spa_pod_object*>(object), property) {
            if (property->key != SPA_PROFILER_info) continue;
            std::int64_t counter = 0;
            float load[3] = {};
            std::int32_t xruns = 0;
            if (spa_pod_parse_struct(&property->value, SPA_POD_Long(&counter), SPA_POD_Float(&load[0]),
                                     SPA_POD_Float(&load[1]), SPA_POD_Float(&load[2]),
                                     SPA_POD_Int(&xruns)) < 0)
                continue;
            std::lock_guard lock(self->Mutex);
            if (self->FirstXruns < 0) self->FirstXruns = xruns;
            self->LastXruns = xruns;
        }
    }
}

void SinkCapture::Impl::Global(void* data, std::uint32_t id, std::uint32_t, const char* type, std::uint32_t,
                               const spa_dict*) {
    auto* self = static_cast<Impl*>(data);
    if (self->Profiler != nullptr || std::strcmp(type, PW_TYPE_INTERFACE_Profiler) != 0) return;
    self->Profiler = static_cast<pw_proxy*>(
        pw_registry_bind(self->Registry, id, PW_TYPE_INTERFACE_Profiler, PW_VERSION_PROFILER, 0));
    static const pw_profiler_events events = {PW_VERSION_PROFILER_EVENTS, &Impl::Profile};
    pw_profiler_add_listener(reinterpret_cast<pw_profiler*>(self->Profiler), &self->ProfilerListener, &events,
                             self);
}

SinkCapture::SinkCapture(const std::string& sink, float threshold, int quietMicros)
    : P(std::make_unique<Impl>()) {
    P->Threshold = threshold;
    P->QuietFrames = static_cast<std::int64_t>(quietMicros) * Rate / 1000000;
    pw_init(nullptr, nullptr);
    P->Loop = pw_thread_loop_new("sink-capture", nullptr);
    P->Context = pw_context_new(pw_thread_loop_get_loop(P->Loop),
                                pw_properties_new(PW_KEY_CONFIG_NAME, "client-rt.conf", nullptr), 0);
    if (P->Context == nullptr) {
        P->Error = "cannot make a PipeWire context";
        return;
    }
    // What a client needs to speak to the server's profiler.
    if (pw_context_load_module(P->Context, PW_EXTENSION_MODULE_PROFILER, nullptr, nullptr) == nullptr) {
        P->Error = "cannot load PipeWire's profiler module";
        return;
    }
    pw_thread_loop_lock(P->Loop);
    pw_thread_loop_start(P->Loop);
    P->Core = pw_context_connect(P->Context, nullptr, 0);
    if (P->Core == nullptr) {
        pw_thread_loop_unlock(P->Loop);
        P->Error = "cannot connect to PipeWire";
        return;
    }
    P->Registry = pw_core_get_registry(P->Core, PW_VERSION_REGISTRY, 0);
    static const pw_registry_events registryEvents = {PW_VERSION_REGISTRY_EVENTS, &Impl::Global, nullptr};
    pw_registry_add_listener(P->Registry, &P->RegistryListener, &registryEvents, P.get());

    // A large request: the graph runs at the smallest one, which must stay the player's.
    P->Stream = pw_stream_new(P->Core, "bench-sink-capture",
                              pw_properties_new(PW_KEY_MEDIA_TYPE, "Audio", PW_KEY_MEDIA_CATEGORY, "Capture",
                                                PW_KEY_MEDIA_ROLE, "Production", PW_KEY_NODE_LATENCY,
                                                "1024/48000", PW_KEY_TARGET_OBJECT, sink.c_str(),
                                                PW_KEY_STREAM_CAPTURE_SINK, "true", nullptr));
    static const pw_stream_events streamEvents = [] {
        pw_stream_events events{};
        events.version = PW_VERSION_STREAM_EVENTS;
        events.process = &Impl::Process;
        return events;
    }();
    pw_stream_add_listener(P->Stream, &P->StreamListener, &streamEvents, P.get());
    std::uint8_t podBuffer[1024];
    spa_pod_builder builder = SPA_POD_BUILDER_INIT(podBuffer, sizeof(podBuffer));
    spa_audio_info_raw format{};
    format.format = SPA_AUDIO_FORMAT_F32;
    format.rate = Rate;
    format.channels = 2;
    format.position[0] = SPA_AUDIO_CHANNEL_FL;
    format.position[1] = SPA_AUDIO_CHANNEL_FR;
    const spa_pod* params[1] = {spa_format_audio_raw_build(&builder, SPA_PARAM_EnumFormat, &format)};
    const int connected = pw_stream_connect(P->Stream, PW_DIRECTION_INPUT, PW_ID_ANY,
                                            static_cast<pw_stream_flags>(PW_STREAM_FLAG_AUTOCONNECT |
                                                                         PW_STREAM_FLAG_MAP_BUFFERS |
                                                                         PW_STREAM_FLAG_RT_PROCESS),
                                            params, 1);
    pw_thread_loop_unlock(P->Loop);
    if (connected < 0) P->Error = std::string("cannot record the sink: ") + std::strerror(-connected);
}

SinkCapture::~SinkCapture() {
    if (P->Loop != nullptr) pw_thread_loop_stop(P->Loop);
    if (P->Stream != nullptr) pw_stream_destroy(P->Stream);
    if (P->Profiler != nullptr) pw_proxy_destroy(P->Profiler);
    if (P->Registry != nullptr) pw_proxy_destroy(reinterpret_cast<pw_proxy*>(P->Registry));
    if (P->Core != nullptr) pw_core_disconnect(P->Core);
    if (P->Context != nullptr) pw_context_destroy(P->Context);
    if (P->Loop != nullptr) pw_thread_loop_destroy(P->Loop);
    pw_deinit();
}

std::string SinkCapture::Error() const {
    return P->Error;
}

bool SinkCapture::WaitForCycles(int timeoutMs) {
    for (int waited = 0; waited < timeoutMs; waited += 10) {
        {
            std::lock_guard lock(P->Mutex);
            if (P->Cycles > 0) return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

std::vector<std::int64_t> SinkCapture::Onsets() const {
    std::lock_guard lock(P->Mutex);
    return P->Onsets;
}

std::int64_t SinkCapture::GraphXruns() const {
    std::lock_guard lock(P->Mutex);
    return P->FirstXruns < 0 ? -1 : P->LastXruns - P->FirstXruns;
}

int SinkCapture::QuantumFrames() const {
    std::lock_guard lock(P->Mutex);
    return P->Quantum;
}

} // namespace tamtara::bench
