// Not a program to run: the floor check is pointed at it to prove that it names every kind
// of instruction an i486 lacks, every x87 instruction (a 486SX has no floating-point unit),
// and none of the others an i486 has.
asm(R"(
    .section .text$everything_an_i486_lacks, "x"
    .globl everything_an_i486_lacks
everything_an_i486_lacks:
    cmovne %eax, %ebx
    fcmovb %st(1), %st
    fcomi %st(1), %st
    fucomip %st(1), %st
    lock cmpxchg8b (%esi)
    rdtsc
    rdpmc
    cpuid
    sysenter
    sysexit
    ud2
    nopl 0(%eax)
    nopw 0(%eax, %eax, 1)
    emms
    paddb %mm1, %mm0
    femms
    pfadd %mm1, %mm0
    prefetchw (%eax)
    prefetchnta (%eax)
    sfence
    lfence
    mfence
    movnti %eax, (%ebx)
    clflush (%eax)
    fxsave (%eax)
    fxrstor (%eax)
    ldmxcsr (%eax)
    stmxcsr (%eax)
    popcnt %eax, %ebx
    lzcnt %eax, %ebx
    movbe (%eax), %ebx
    addps %xmm1, %xmm0
    vzeroupper
    call what_an_i486_has
    call what_a_486sx_lacks
    ret

    .section .text$what_an_i486_has, "x"
what_an_i486_has:
    bswap %eax
    lock cmpxchg %ebx, (%esi)
    xadd %eax, (%ebx)
    invlpg (%eax)
    wbinvd
    pause
    xchg %ax, %ax
    lea 0(%esi), %esi
    verr %ax
    bsf %eax, %ebx
    rep movsb
    ret

    .section .text$what_a_486sx_lacks, "x"
what_a_486sx_lacks:
    flds (%eax)
    fldl 8(%eax)
    fld %st(1)
    fildl (%eax)
    fstps (%eax)
    fstp %st(1)
    fistpll (%eax)
    fadds (%eax)
    faddp %st, %st(1)
    fmull (%eax)
    fdivrp %st, %st(1)
    fcoms (%eax)
    fucom %st(1)
    fucompp
    fnstcw (%eax)
    fldcw (%eax)
    fnstsw %ax
    fsin
    fninit
    # Alone: objdump shows a wait before an x87 instruction as part of that instruction.
    fwait
    ret
)");
