// Log off, restart and power off through systemd-logind on the system bus.
#include "platform/Session.h"

#include "platform/Process.h"

#include <gio/gio.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

namespace Platform {

namespace {

constexpr const char* kLogind = "org.freedesktop.login1";
constexpr const char* kManagerPath = "/org/freedesktop/login1";
constexpr const char* kManager = "org.freedesktop.login1.Manager";
constexpr const char* kSession = "org.freedesktop.login1.Session";

// A local bus answers at once; the deadlines only keep a wedged bus or logind from holding the
// caller's thread for good.
constexpr guint kConnectTimeoutMs = 5000;
constexpr gint kCallTimeoutMs = 10000;

// Why a request failed, kept until the connection is closed so that errno is set last.
struct TFailure {
    int code = 0;
    std::string message;
};

int ErrorCodeFor(const GError* error) {
    if (error->domain == G_DBUS_ERROR) {
        switch (error->code) {
        case G_DBUS_ERROR_ACCESS_DENIED:
        case G_DBUS_ERROR_AUTH_FAILED:
            return EACCES;
        case G_DBUS_ERROR_SERVICE_UNKNOWN:
        case G_DBUS_ERROR_NAME_HAS_NO_OWNER:
        case G_DBUS_ERROR_NO_SERVER:
        case G_DBUS_ERROR_DISCONNECTED:
            return ECONNREFUSED;
        case G_DBUS_ERROR_NO_REPLY:
        case G_DBUS_ERROR_TIMEOUT:
        case G_DBUS_ERROR_TIMED_OUT:
            return ETIMEDOUT;
        default:
            return EIO;
        }
    }
    if (error->domain == G_IO_ERROR) {
        switch (error->code) {
        case G_IO_ERROR_PERMISSION_DENIED:
            return EACCES;
        case G_IO_ERROR_NOT_FOUND:
        case G_IO_ERROR_CONNECTION_REFUSED:
        case G_IO_ERROR_CLOSED:
            return ECONNREFUSED;
        case G_IO_ERROR_TIMED_OUT:
            return ETIMEDOUT;
        default:
            break;
        }
    }
    // Polkit's refusal of a request that may not ask the user has no GIO code of its own.
    if (gchar* name = g_dbus_error_get_remote_error(error)) {
        const bool denied =
            std::strcmp(name, "org.freedesktop.DBus.Error.InteractiveAuthorizationRequired") == 0;
        g_free(name);
        if (denied) return EACCES;
    }
    return EIO;
}

// Records the error (the remote error's name stripped from its text) and frees it.
void Fail(TFailure& failure, GError* error) {
    failure.code = ErrorCodeFor(error);
    g_dbus_error_strip_remote_error(error);
    failure.message = error->message;
    g_error_free(error);
}

struct TPendingConnection {
    GDBusConnection* connection = nullptr;
    GError* error = nullptr;
    bool done = false;
};

void OnConnected(GObject*, GAsyncResult* result, gpointer data) {
    auto* pending = static_cast<TPendingConnection*>(data);
    pending->connection = g_dbus_connection_new_for_address_finish(result, &pending->error);
    pending->done = true;
}

gboolean CancelConnect(gpointer cancellable) {
    g_cancellable_cancel(G_CANCELLABLE(cancellable));
    return G_SOURCE_REMOVE;
}

// A private connection to the system bus. The address is looked up on every call (it honours
// DBUS_SYSTEM_BUS_ADDRESS), where GIO's shared bus connection would keep the first one it saw and
// would end the process if the bus went away.
GDBusConnection* ConnectSystemBus(TFailure& failure) {
    GError* error = nullptr;
    gchar* address = g_dbus_address_get_for_bus_sync(G_BUS_TYPE_SYSTEM, nullptr, &error);
    if (!address) {
        Fail(failure, error);
        return nullptr;
    }

    // Connecting has no timeout of its own: run it on a private main context against a deadline.
    GMainContext* context = g_main_context_new();
    g_main_context_push_thread_default(context);
    GCancellable* cancellable = g_cancellable_new();
    TPendingConnection pending;
    const auto flags = static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                                         G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION);
    g_dbus_connection_new_for_address(address, flags, nullptr, cancellable, OnConnected, &pending);
    GSource* deadline = g_timeout_source_new(kConnectTimeoutMs);
    g_source_set_callback(deadline, CancelConnect, cancellable, nullptr);
    g_source_attach(deadline, context);
    while (!pending.done)
        g_main_context_iteration(context, TRUE);
    const bool timedOut = g_cancellable_is_cancelled(cancellable);
    g_source_destroy(deadline);
    g_source_unref(deadline);
    g_object_unref(cancellable);
    g_main_context_pop_thread_default(context);
    g_main_context_unref(context);
    g_free(address);

    if (pending.connection) return pending.connection;
    if (timedOut) {
        g_clear_error(&pending.error);
        failure.code = ETIMEDOUT;
        failure.message = "Timed out connecting to the system bus";
    } else {
        Fail(failure, pending.error);
    }
    return nullptr;
}

// Calls a method of logind; the reply (of replyType, or nullptr when not wanted) is the caller's.
bool CallLogind(GDBusConnection* bus, const char* path, const char* interface, const char* method,
                GVariant* args, const GVariantType* replyType, TFailure& failure,
                GVariant** reply = nullptr) {
    GError* error = nullptr;
    GVariant* result = g_dbus_connection_call_sync(bus, kLogind, path, interface, method, args, replyType,
                                                   G_DBUS_CALL_FLAGS_NONE, kCallTimeoutMs, nullptr, &error);
    if (!result) {
        Fail(failure, error);
        return false;
    }
    if (reply)
        *reply = result;
    else
        g_variant_unref(result);
    return true;
}

// The caller's own session ends. XDG_SESSION_ID names the session the program was started in,
// which still holds when the desktop has moved the program into a scope of its own outside the
// session (where a lookup by process finds nothing); without it, the session is looked up by
// process.
bool TerminateOwnSession(GDBusConnection* bus, TFailure& failure) {
    const char* sessionId = g_getenv("XDG_SESSION_ID");
    if (sessionId && *sessionId)
        return CallLogind(bus, kManagerPath, kManager, "TerminateSession", g_variant_new("(s)", sessionId),
                          nullptr, failure);

    GVariant* reply = nullptr;
    if (!CallLogind(bus, kManagerPath, kManager, "GetSessionByPID",
                    g_variant_new("(u)", static_cast<guint32>(getpid())), G_VARIANT_TYPE("(o)"), failure,
                    &reply))
        return false;
    const gchar* sessionPath = nullptr;
    g_variant_get(reply, "(&o)", &sessionPath);
    const bool ok = CallLogind(bus, sessionPath, kSession, "Terminate", nullptr, nullptr, failure);
    g_variant_unref(reply);
    return ok;
}

} // namespace

bool EndSession(TSessionEnd what) {
    TFailure failure;
    GDBusConnection* bus = ConnectSystemBus(failure);
    bool ok = false;
    if (bus) {
        // The flag is "interactive": false, so polkit answers at once and nobody is asked anything.
        switch (what) {
        case TSessionEnd::Logoff:
            ok = TerminateOwnSession(bus, failure);
            break;
        case TSessionEnd::Reboot:
            ok = CallLogind(bus, kManagerPath, kManager, "Reboot", g_variant_new("(b)", FALSE), nullptr,
                            failure);
            break;
        case TSessionEnd::Shutdown:
            ok = CallLogind(bus, kManagerPath, kManager, "PowerOff", g_variant_new("(b)", FALSE), nullptr,
                            failure);
            break;
        }
        g_dbus_connection_close_sync(bus, nullptr, nullptr);
        g_object_unref(bus);
    }
    if (!ok) SetLastError(failure.code ? failure.code : EIO, failure.message);
    return ok;
}

} // namespace Platform
