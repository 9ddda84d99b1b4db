# The executor asks the time-out check only between instructions (every 256K of them), and a
# single call of a built-in, or a single `+`, can run for minutes without executing one:
# indexOf over an array-like of length 2^31 - 1, join of new Array(2e8), sort, splice, JSON
# over a large value, a string search made quadratic, and any loop whose every turn copies a
# megabyte (`t = s + s`, encodeURIComponent(s)). So the engine counts the work its built-ins
# and operators do, in units of about one property access (or 256 bytes copied, scanned or
# built), and asks the check every DUK_CAMPUS_WORK_PER_CHECK units. The count is kept where
# every such loop passes:
#   - the four generic property operations (get, put, has, delete): every array method over
#     an array or array-like, join, sort, concat, the JSON encoder's slow path;
#   - each step of the regular expression matcher, which would otherwise stop only after a
#     billion steps (some seconds), so that one made to backtrack for good ends too;
#   - each value the JSON decoder and the JSON encoder's fast path handle;
#   - the bytes of every string made or looked up by its text: whatever builds a string
#     (concatenation, repeat, padStart, split, join, slice, case mapping, URI coding, JSON,
#     regular expression results, string building) ends there, and a string equal to one that
#     exists is compared byte by byte before it is found;
#   - each place a string search compares the searched-for text (indexOf, lastIndexOf,
#     includes, split and replace with a string), weighted by its length, and the bytes the
#     search steps over;
#   - the bytes string comparisons (<, sort, localeCompare, startsWith, endsWith), trim and
#     the buffer built-ins (fill, copy, set, compare) go through;
#   - each character offset looked up in a long non-ASCII string, weighted by the distance
#     scanned.
# Once the check says the time is up, the built-in ends with "RangeError: execution timeout",
# the next instruction of the script raises it again (as the executor's own check does) and
# so does the next unit of work: a script that catches the error gets no further. Work done
# for the host itself (turning a thrown value into text straight from C, with no script on
# the call stack) is not cut. Nor is the engine's own building of an error (its message and
# traceback, both short), nor the garbage collector: no error may be raised there, so the
# count is kept as it is and the first unit of work after them asks. A script that runs while
# an error is being built (a hook of the engine's, which pages cannot reach) is cut as any
# other: what it raises then is the engine's fixed "double error".
#
# The garbage collector counts its work as well, a unit for each object and string it keeps.
# Past the mark it asks the check without raising anything, once for every so many units as
# any other work would, and makes the executor ask before its next instruction. A run told
# that its time is up collects no more garbage: a heap filled to its limit would otherwise run
# up to ten full collections for each allocation that fails, each as long as the heap is
# large, before the script sees the error. The memory comes back at the first collection
# after the run.
#
# A heap that is destroyed runs no finalizer and no collection: the engine would otherwise run
# every finalizer left, in rounds, with no deadline that could hold, and collect three times
# over. The page is gone by then; nothing of it is to run. Its memory is freed as it is.
#
# Memory the engine allocates is counted too, but as a hint only: an allocation can happen
# where an error must not be raised, so enough allocated bytes only make the executor ask the
# check before its next instruction. Whatever else a built-in does in proportion to what it
# builds (Object.keys of a large object, a slice of a large array) is then seen after at most
# one call.

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
/* Bytes copied, scanned or built: a unit of work for every 256, the rest kept for later. */
#define DUK_CAMPUS_BYTES(thr, bytes) \\
\tdo { \\
\t\tduk_heap *duk__campus_bheap = (thr)->heap; \\
\t\tduk_size_t duk__campus_b = duk__campus_bheap->campus_bytes + (duk_size_t) (bytes); \\
\t\tduk__campus_bheap->campus_bytes = duk__campus_b & 0xffU; \\
\t\tif (duk__campus_b >= 0x100U) { \\
\t\t\tDUK_CAMPUS_WORK((thr), duk__campus_b >> 8); \\
\t\t} \\
\t} while (0)
/* Bytes allocated: no error may be raised here, so past the mark the executor is only made to
 * ask the check before its next instruction. */
#define DUK_CAMPUS_ALLOCATED(heap, size) \\
\tdo { \\
\t\t(heap)->campus_work += (duk_uint32_t) ((duk_size_t) (size) >> 8); \\
\t\tif (DUK_UNLIKELY((heap)->campus_work >= DUK_CAMPUS_WORK_PER_CHECK && (heap)->curr_thread != NULL)) { \\
\t\t\t(heap)->campus_work = 0; \\
\t\t\t(heap)->curr_thread->interrupt_counter = 0; \\
\t\t} \\
\t} while (0)

struct duk_heap {\n\tduk_small_uint_t flags;\n\tduk_uint32_t campus_work;\n\tduk_size_t campus_bytes;\n")

campus_duktape_patch("the deadline check of built-ins" 1
"DUK_INTERNAL duk_bool_t duk_hobject_getprop(duk_hthread *thr, duk_tval *tv_obj, duk_tval *tv_key) {\n"
"DUK_INTERNAL void duk_campus_deadline_check(duk_hthread *thr) {
\tduk_heap *heap = thr->heap;
\tduk_activation *act = thr->callstack_curr;
\tduk_hobject *func;

\tif (heap->ms_running || (heap->creating_error && !heap->augmenting_error)) {
\t\treturn;
\t}
\theap->campus_work = 0;
\tif (act == NULL) {
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

campus_duktape_patch("stepping through a string search" 1
"\t\t/* track cpos while scanning */\n"
"\t\tif ((((duk_size_t) (p - p_start)) & 0xffU) == 0U) {
\t\t\tDUK_CAMPUS_WORK(thr, 1);
\t\t}
\t\t/* track cpos while scanning */\n")
campus_duktape_patch("stepping through a replace or split by a string" 2
"\t\t\t\t/* track utf-8 non-continuation bytes */\n\t\t\t\tif ((p[0] & 0xc0) != 0x80) {"
"\t\t\t\tif ((((duk_size_t) (p - p_start)) & 0xffU) == 0U) {
\t\t\t\t\tDUK_CAMPUS_WORK(thr, 1);
\t\t\t\t}
\t\t\t\t/* track utf-8 non-continuation bytes */\n\t\t\t\tif ((p[0] & 0xc0) != 0x80) {")

campus_duktape_patch("making or finding a string by its text" 1
"\tres = duk_heap_strtable_intern(thr->heap, str, blen);\n\tif (DUK_UNLIKELY(res == NULL)) {"
"\tDUK_CAMPUS_BYTES(thr, blen);
\tres = duk_heap_strtable_intern(thr->heap, str, blen);\n\tif (DUK_UNLIKELY(res == NULL)) {")

campus_duktape_patch("comparing strings with an operator" 1
"\t\t\trc = duk_js_string_compare(h1, h2);\n"
"\t\t\tDUK_CAMPUS_BYTES(thr, DUK_HSTRING_GET_BYTELEN(h1) < DUK_HSTRING_GET_BYTELEN(h2) ? DUK_HSTRING_GET_BYTELEN(h1) : DUK_HSTRING_GET_BYTELEN(h2));
\t\t\trc = duk_js_string_compare(h1, h2);\n")
campus_duktape_patch("comparing strings in a sort" 1
"\tret = duk_js_string_compare(h1, h2); /* retval is directly usable */"
"\tDUK_CAMPUS_BYTES(thr, DUK_HSTRING_GET_BYTELEN(h1) < DUK_HSTRING_GET_BYTELEN(h2) ? DUK_HSTRING_GET_BYTELEN(h1) : DUK_HSTRING_GET_BYTELEN(h2));
\tret = duk_js_string_compare(h1, h2); /* retval is directly usable */")
campus_duktape_patch("comparing strings by locale" 1
"\trc = (duk_small_int_t) duk_memcmp((const void *) DUK_HSTRING_GET_DATA(h1),"
"\tDUK_CAMPUS_BYTES(thr, prefix_len);
\trc = (duk_small_int_t) duk_memcmp((const void *) DUK_HSTRING_GET_DATA(h1),")
campus_duktape_patch("comparing the start or end of a string" 1
"\t\tif (duk_memcmp_unsafe((const void *) p_cmp_start, (const void *) p_search, (size_t) blen_search) == 0) {"
"\t\tDUK_CAMPUS_BYTES(thr, blen_search);
\t\tif (duk_memcmp_unsafe((const void *) p_cmp_start, (const void *) p_search, (size_t) blen_search) == 0) {")
campus_duktape_patch("trimming a string" 1
"scan_done:\n\t/* This may happen when forward and backward"
"scan_done:
\tDUK_CAMPUS_BYTES(thr, (duk_size_t) (q_start - p_start) + (duk_size_t) (p_end - q_end));
\t/* This may happen when forward and backward")

campus_duktape_patch("comparing buffers" 1
"\tif (DUK_HBUFOBJ_VALID_SLICE(h_bufarg1) && DUK_HBUFOBJ_VALID_SLICE(h_bufarg2)) {\n\t\tcomp_res = duk_js_data_compare("
"\tDUK_CAMPUS_BYTES(thr, h_bufarg1->length < h_bufarg2->length ? h_bufarg1->length : h_bufarg2->length);
\tif (DUK_HBUFOBJ_VALID_SLICE(h_bufarg1) && DUK_HBUFOBJ_VALID_SLICE(h_bufarg2)) {\n\t\tcomp_res = duk_js_data_compare(")
campus_duktape_patch("filling a buffer" 1
"\tfill_length = (duk_size_t) (fill_end - fill_offset);\n"
"\tfill_length = (duk_size_t) (fill_end - fill_offset);\n\tDUK_CAMPUS_BYTES(thr, fill_length);\n")
campus_duktape_patch("copying a buffer" 1
"\t\tduk_memmove_unsafe((void *) (DUK_HBUFOBJ_GET_SLICE_BASE(thr->heap, h_bufarg) + target_ustart),"
"\t\tDUK_CAMPUS_BYTES(thr, copy_size);
\t\tduk_memmove_unsafe((void *) (DUK_HBUFOBJ_GET_SLICE_BASE(thr->heap, h_bufarg) + target_ustart),")
campus_duktape_patch("setting a typed array from another" 1
"#if !defined(DUK_USE_PREFER_SIZE)\n\t\tDUK_ASSERT(h_this->elem_type < sizeof(duk__buffer_elemtype_copy_compatible)"
"\t\tDUK_CAMPUS_BYTES(thr, (duk_size_t) src_length + (duk_size_t) dst_length);
#if !defined(DUK_USE_PREFER_SIZE)\n\t\tDUK_ASSERT(h_this->elem_type < sizeof(duk__buffer_elemtype_copy_compatible)")

campus_duktape_patch("allocating" 1
"\tDUK_ASSERT(heap->alloc_func != NULL);\n\tDUK_ASSERT_DISABLE(size >= 0);\n\n#if defined(DUK_USE_VOLUNTARY_GC)"
"\tDUK_ASSERT(heap->alloc_func != NULL);\n\tDUK_ASSERT_DISABLE(size >= 0);\n\tDUK_CAMPUS_ALLOCATED(heap, size);\n\n#if defined(DUK_USE_VOLUNTARY_GC)")
campus_duktape_patch("reallocating" 1
"\tDUK_ASSERT(heap->realloc_func != NULL);\n\t/* ptr may be NULL */\n\tDUK_ASSERT_DISABLE(newsize >= 0);\n\n#if defined(DUK_USE_VOLUNTARY_GC)"
"\tDUK_ASSERT(heap->realloc_func != NULL);\n\t/* ptr may be NULL */\n\tDUK_ASSERT_DISABLE(newsize >= 0);\n\tDUK_CAMPUS_ALLOCATED(heap, newsize);\n\n#if defined(DUK_USE_VOLUNTARY_GC)")
campus_duktape_patch("reallocating through a pointer getter" 1
"\tDUK_ASSERT(heap->realloc_func != NULL);\n\tDUK_ASSERT_DISABLE(newsize >= 0);\n\n#if defined(DUK_USE_VOLUNTARY_GC)"
"\tDUK_ASSERT(heap->realloc_func != NULL);\n\tDUK_ASSERT_DISABLE(newsize >= 0);\n\tDUK_CAMPUS_ALLOCATED(heap, newsize);\n\n#if defined(DUK_USE_VOLUNTARY_GC)")

campus_duktape_patch("refusing a collection to a run whose time is up" 1
"\tif (heap->ms_prevent_count != 0) {\n\t\tDUK_DD(DUK_DDPRINT(\"reject recursive mark-and-sweep\"));\n\t\tDUK_STATS_INC(heap, stats_ms_skip_count);\n\t\treturn;\n\t}\n"
"\tif (heap->ms_prevent_count != 0) {\n\t\tDUK_DD(DUK_DDPRINT(\"reject recursive mark-and-sweep\"));\n\t\tDUK_STATS_INC(heap, stats_ms_skip_count);\n\t\treturn;\n\t}
\tif (campus_script_cut(heap->heap_udata)) {
\t\treturn;
\t}\n")
campus_duktape_patch("counting a collection" 1
"\theap->creating_error = entry_creating_error; /* for nested error handling, see GH-2278 */\n"
"\theap->creating_error = entry_creating_error; /* for nested error handling, see GH-2278 */
\tif ((duk_size_t) heap->campus_work + count_keep_obj + count_keep_str >= DUK_CAMPUS_WORK_PER_CHECK) {
\t\tduk_size_t campus_units = (duk_size_t) heap->campus_work + count_keep_obj + count_keep_str;
\t\tif (heap->curr_thread != NULL) {
\t\t\theap->curr_thread->interrupt_counter = 0;
\t\t}
\t\twhile (campus_units >= DUK_CAMPUS_WORK_PER_CHECK && !DUK_USE_EXEC_TIMEOUT_CHECK(heap->heap_udata)) {
\t\t\tcampus_units -= DUK_CAMPUS_WORK_PER_CHECK;
\t\t}
\t\theap->campus_work = 0;
\t} else {
\t\theap->campus_work += (duk_uint32_t) (count_keep_obj + count_keep_str);
\t}\n")
campus_duktape_patch("destroying a heap" 1
"\tDUK_ASSERT(heap->pf_skip_finalizers == 0);
\tDUK_D(DUK_DPRINT(\"forced gc #1 in heap destruction\"));
\tduk_heap_mark_and_sweep(heap, 0);
\tDUK_D(DUK_DPRINT(\"forced gc #2 in heap destruction\"));
\tduk_heap_mark_and_sweep(heap, 0);
\tDUK_D(DUK_DPRINT(\"forced gc #3 in heap destruction (don't run finalizers)\"));
\theap->pf_skip_finalizers = 1;
\tduk_heap_mark_and_sweep(heap, 0); /* Skip finalizers; queue finalizable objects to heap_allocated. */
"
"\theap->pf_skip_finalizers = 1;
")
campus_duktape_patch("destroying a heap without its finalizers" 1
"\tDUK_HEAP_SET_FINALIZER_NORESCUE(heap); /* Rescue no longer supported. */\n\tduk__free_run_finalizers(heap);\n"
"\t(void) duk__free_run_finalizers;\n")
