#include "GsfFiles.h"

#include <gsf/gsf-infile-msole.h>
#include <gsf/gsf-infile.h>
#include <gsf/gsf-input-stdio.h>
#include <gsf/gsf-outfile-msole.h>
#include <gsf/gsf-outfile.h>
#include <gsf/gsf-output-stdio.h>
#include <gsf/gsf-utils.h>

#include <map>

namespace tempolatch::test::gsf {

namespace {

// The library reports damage it works around only as a log message; any
// message counts as a failure here.
std::string g_complaint;

void collect(const gchar*, GLogLevelFlags, const gchar* message, gpointer) {
    if (g_complaint.empty())
        g_complaint = message ? message : "complaint";
}

void start() {
    static const bool done = [] {
        gsf_init();
        const auto levels = GLogLevelFlags(G_LOG_LEVEL_WARNING | G_LOG_LEVEL_CRITICAL);
        for (const char* domain : {"libgsf", "libgsf:msole", static_cast<const char*>(nullptr)})
            g_log_set_handler(domain, levels, collect, nullptr);
        return true;
    }();
    (void)done;
    g_complaint.clear();
}

bool takeError(GError* gerror, std::string& error, const char* fallback) {
    error = gerror ? gerror->message : fallback;
    if (gerror)
        g_error_free(gerror);
    return false;
}

bool readChildren(GsfInfile* storage, const std::string& prefix, std::vector<Element>& out,
                  std::string& error) {
    const int count = gsf_infile_num_children(storage);
    for (int i = 0; i < count; ++i) {
        const char* name = gsf_infile_name_by_index(storage, i);
        GsfInput* child = gsf_infile_child_by_index(storage, i);
        if (!child || !name) {
            error = "cannot open an element";
            return false;
        }
        Element e;
        e.path = prefix + name;
        e.storage = GSF_IS_INFILE(child) && gsf_infile_num_children(GSF_INFILE(child)) >= 0;
        bool ok = true;
        if (e.storage) {
            out.push_back(e);
            ok = readChildren(GSF_INFILE(child), e.path + "/", out, error);
        } else {
            e.data.resize(size_t(gsf_input_size(child)));
            ok = e.data.empty() ||
                 gsf_input_read(child, e.data.size(), reinterpret_cast<guint8*>(e.data.data()));
            if (!ok)
                error = "cannot read " + e.path;
            out.push_back(std::move(e));
        }
        g_object_unref(child);
        if (!ok)
            return false;
    }
    return true;
}

}  // namespace

bool readFile(const std::string& file, std::vector<Element>& elements, std::string& error) {
    start();
    GError* gerror = nullptr;
    GsfInput* input = gsf_input_stdio_new(file.c_str(), &gerror);
    if (!input)
        return takeError(gerror, error, "cannot open the file");
    GsfInfile* root = gsf_infile_msole_new(input, &gerror);
    g_object_unref(input);
    if (!root)
        return takeError(gerror, error, "not a compound file");
    const bool ok = readChildren(root, "", elements, error);
    g_object_unref(root);
    if (ok && !g_complaint.empty())
        error = g_complaint;
    return ok && g_complaint.empty();
}

bool writeFile(const std::string& file, const std::vector<Element>& elements, std::string& error) {
    start();
    GError* gerror = nullptr;
    GsfOutput* sink = gsf_output_stdio_new(file.c_str(), &gerror);
    if (!sink)
        return takeError(gerror, error, "cannot create the file");
    GsfOutfile* root = gsf_outfile_msole_new(sink);
    g_object_unref(sink);
    std::map<std::string, GsfOutfile*> storages{{"", root}};
    bool ok = true;
    for (const Element& e : elements) {
        const size_t slash = e.path.rfind('/');
        const std::string parent = slash == std::string::npos ? "" : e.path.substr(0, slash);
        const std::string name = slash == std::string::npos ? e.path : e.path.substr(slash + 1);
        const auto it = storages.find(parent);
        GsfOutput* child = it == storages.end()
                               ? nullptr
                               : gsf_outfile_new_child(it->second, name.c_str(), e.storage);
        if (!child) {
            ok = false;
            break;
        }
        if (e.storage) {
            storages[e.path] = GSF_OUTFILE(child);
        } else {
            ok = (e.data.empty() ||
                  gsf_output_write(child, e.data.size(),
                                   reinterpret_cast<const guint8*>(e.data.data()))) &&
                 gsf_output_close(child);
            g_object_unref(child);
            if (!ok)
                break;
        }
    }
    // Storages close after what they hold, the root last.
    for (auto it = storages.rbegin(); it != storages.rend(); ++it) {
        ok = gsf_output_close(GSF_OUTPUT(it->second)) && ok;
        g_object_unref(it->second);
    }
    if (!ok || !g_complaint.empty()) {
        error = g_complaint.empty() ? "cannot write the file" : g_complaint;
        return false;
    }
    return true;
}

}  // namespace tempolatch::test::gsf
