# The executor asks the time-out check only between instructions (every 256K of them), and a
# single call of a built-in can run for minutes without executing one: indexOf over an
# array-like of length 2^31 - 1, join of new Array(2e8), sort, splice, JSON over a large
# value, a string search made quadratic. So the engine counts the work its built-ins do, in
# units of about one property access, and asks the check every DUK_CAMPUS_WORK_PER_CHECK
# units. The count is kept where every such loop passes:
#   - the four generic property operations (get, put, has, delete): every array method over
#     an array or array-like, join, sort, concat, the JSON encoder's slow path;
#   - each step of the regular expression matcher, which would otherwise stop only after a
#     billion steps (some seconds), so that one made to backtrack for good ends too;
#   - each value the JSON decoder and the JSON encoder's fast path handle;
#   - each place a string search compares the searched-for text (indexOf, lastIndexOf,
#     includes, split and replace with a string), weighted by its length;
#   - each character offset looked up in a long non-ASCII string, weighted by the distance
#     scanned.
# Once the check says the time is up, the built-in ends with "RangeError: execution timeout",
# the next instruction of the script raises it again (as the executor's own check does) and
# so does the next unit of work: a script that catches the error gets no further. Work done
# for the host itself (turning a thrown value into text straight from C, with no script on
# the call stack), while an error is being created, or in the garbage collector is not cut.

campus_duktape_patch("the work counter of the heap" 1
"struct duk_heap {\n\tduk_small_uint_t flags;\n"
"DUK_INTERNAL_DECL void duk_campus_deadline_check(duk_hthread *thr);
#define DUK_CAMPUS_WORK_PER_CHECK 4096U
#define DUK_CAMPUS_WORK(thr, units) \\
\tdo { \\
\t\tduk_heap *duk__campus_heap = (thr)->heap; \\
\t\tduk__campus_heap->campus_work += (duk_uint32_t) (units); \\
\t\tif (DUK_UNLIKELY(duk__campus_heap->campus_work >= DUK_CAMPUS_WORK_PER_CHECK)) { \\
\t\t\tduk_campus_deadline_check((thr)); \\
\t\t} \\
\t} while (0)

struct duk_heap {\n\tduk_small_uint_t flags;\n\tduk_uint32_t campus_work;\n")

campus_duktape_patch("the deadline check of built-ins" 1
"DUK_INTERNAL duk_bool_t duk_hobject_getprop(duk_hthread *thr, duk_tval *tv_obj, duk_tval *tv_key) {\n"
"DUK_INTERNAL void duk_campus_deadline_check(duk_hthread *thr) {
\tduk_heap *heap = thr->heap;
\tduk_activation *act = thr->callstack_curr;
\tduk_hobject *func;

\theap->campus_work = 0;
\tif (act == NULL || heap->creating_error || heap->ms_running) {
\t\treturn;
\t}
\tfunc = DUK_ACT_GET_FUNC(act);
\tif (act->parent == NULL && (func == NULL || !DUK_HOBJECT_IS_COMPFUNC(func))) {
\t\treturn;
\t}
\tif (DUK_USE_EXEC_TIMEOUT_CHECK(heap->heap_udata)) {
\t\theap->campus_work = DUK_CAMPUS_WORK_PER_CHECK;
\t\tthr->interrupt_init = 0;
\t\tthr->interrupt_counter = 0;
\t\tDUK_ERROR_RANGE(thr, \"execution timeout\");
\t\tDUK_WO_NORETURN(return;);
\t}
}

DUK_INTERNAL duk_bool_t duk_hobject_getprop(duk_hthread *thr, duk_tval *tv_obj, duk_tval *tv_key) {\n")

campus_duktape_patch("getting a property" 1
"\tDUK_STATS_INC(thr->heap, stats_getprop_all);\n"
"\tDUK_STATS_INC(thr->heap, stats_getprop_all);\n\tDUK_CAMPUS_WORK(thr, 1);\n")
campus_duktape_patch("putting a property" 1
"\tDUK_STATS_INC(thr->heap, stats_putprop_all);\n"
"\tDUK_STATS_INC(thr->heap, stats_putprop_all);\n\tDUK_CAMPUS_WORK(thr, 1);\n")
campus_duktape_patch("asking for a property" 1
"\tDUK_TVAL_SET_TVAL(&tv_key_copy, tv_key);\n\ttv_key = &tv_key_copy;\n\n\t/*\n\t *  The 'in' operator requires"
"\tDUK_CAMPUS_WORK(thr, 1);\n\tDUK_TVAL_SET_TVAL(&tv_key_copy, tv_key);\n\ttv_key = &tv_key_copy;\n\n\t/*\n\t *  The 'in' operator requires")
campus_duktape_patch("deleting a property" 1
"\t/* Storing the entry top is cheaper here to ensure stack is correct at exit,\n"
"\tDUK_CAMPUS_WORK(thr, 1);\n\t/* Storing the entry top is cheaper here to ensure stack is correct at exit,\n")

campus_duktape_patch("decoding a JSON value" 1
"\tx = duk__json_dec_get_nonwhite(js_ctx);\n\n\tDUK_DDD(DUK_DDDPRINT(\"parse_value: initial x=%ld\", (long) x));\n"
"\tDUK_CAMPUS_WORK(thr, 1);\n\tx = duk__json_dec_get_nonwhite(js_ctx);\n\n\tDUK_DDD(DUK_DDDPRINT(\"parse_value: initial x=%ld\", (long) x));\n")
campus_duktape_patch("encoding a JSON value" 1
"\ttv_holder = DUK_GET_TVAL_POSIDX(thr, idx_holder);\n"
"\tDUK_CAMPUS_WORK(thr, 1);\n\ttv_holder = DUK_GET_TVAL_POSIDX(thr, idx_holder);\n")
campus_duktape_patch("encoding a JSON value on the fast path" 1
"\tDUK_DDD(DUK_DDDPRINT(\"stringify fast: %!T\", tv));\n"
"\tDUK_DDD(DUK_DDDPRINT(\"stringify fast: %!T\", tv));\n\tDUK_CAMPUS_WORK(js_ctx->thr, 1);\n")

campus_duktape_patch("comparing in a string search" 3
"if (duk_memcmp((const void *) p, (const void *) q_start, (size_t) q_blen) == 0) {"
"DUK_CAMPUS_WORK(thr, 1U + ((duk_uint32_t) q_blen >> 8));
\t\t\tif (duk_memcmp((const void *) p, (const void *) q_start, (size_t) q_blen) == 0) {")
campus_duktape_patch("scanning for a character offset" 1
"\tdist_end = char_length - char_offset;\n"
"\tdist_end = char_length - char_offset;
\tDUK_CAMPUS_WORK(thr, 1U + (duk_uint32_t) ((dist_start < dist_end ? dist_start : dist_end) >> 8));\n")
campus_duktape_patch("a step of the regular expression matcher" 1
"\t\tif (re_ctx->steps_count >= re_ctx->steps_limit) {\n"
"\t\tDUK_CAMPUS_WORK(re_ctx->thr, 1);\n\t\tif (re_ctx->steps_count >= re_ctx->steps_limit) {\n")
